#include "shell/handles.h"
#include "shell/wide.h"
#include "ui/control_view.h"

namespace krovelin {
namespace {

constexpr wchar_t kLabelClass[] = L"KrovelinLabel";

class Label final : public ControlView {
 public:
  using ControlView::ControlView;

  bool create(HWND parent) {
    if (!register_class()) return false;
    if (!create_window(parent, kLabelClass, 0, 0, spec_.height)) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
  }

 private:
  static bool register_class() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), kLabelClass, &wc)) return true;
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = &Label::procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kLabelClass;
    return RegisterClassExW(&wc) != 0;
  }

  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // painted whole in WM_PAINT, without flicker
      case WM_PAINT:
        paint(window);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }

  static void paint(HWND window) {
    PaintScope paint(window);
    RECT client;
    GetClientRect(window, &client);
    UniqueRegion clip(CreateRectRgnIndirect(&client));
    SelectClipRgn(paint.dc(), clip.get());
    FillRect(paint.dc(), &client, GetSysColorBrush(COLOR_BTNFACE));

    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), length + 1)));
    ScopedSelect font(paint.dc(), gui_font());
    SetBkMode(paint.dc(), TRANSPARENT);
    SetTextColor(paint.dc(), RGB(0, 0, 0));
    DrawTextW(paint.dc(), text.c_str(), static_cast<int>(text.size()), &client,
              DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
    SelectClipRgn(paint.dc(), nullptr);
  }
};

}  // namespace

std::unique_ptr<ControlView> make_label(const ControlSpec& spec, HWND parent) {
  auto label = std::make_unique<Label>(spec);
  if (!label->create(parent)) return nullptr;
  return label;
}

}  // namespace krovelin
