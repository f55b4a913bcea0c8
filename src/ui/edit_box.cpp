#include "shell/handles.h"
#include "ui/control_view.h"

namespace krovelin {
namespace {

class EditBox final : public ControlView {
 public:
  using ControlView::ControlView;

  bool create(HWND parent) {
    if (!create_window(parent, L"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                       spec_.height)) {
      return false;
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font()), FALSE);
    grow_to_one_line();
    SendMessageW(window_, EM_LIMITTEXT, 0, 0);
    SendMessageW(window_, EM_SETSEL, 0, 0);
    SendMessageW(window_, EM_SCROLLCARET, 0, 0);
    return true;
  }

 private:
  // A box lower than one line of its font plus both edges would cut its text.
  void grow_to_one_line() {
    HDC dc = GetDC(window_);
    if (!dc) return;
    TEXTMETRICW metrics{};
    {
      ScopedSelect font(dc, gui_font());
      GetTextMetricsW(dc, &metrics);
    }
    ReleaseDC(window_, dc);
    const int needed = metrics.tmHeight + 2 * GetSystemMetrics(SM_CYEDGE);
    if (spec_.height < needed) {
      SetWindowPos(window_, nullptr, 0, 0, spec_.width, needed,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
};

}  // namespace

std::unique_ptr<ControlView> make_edit_box(const ControlSpec& spec, HWND parent) {
  auto box = std::make_unique<EditBox>(spec);
  if (!box->create(parent)) return nullptr;
  return box;
}

}  // namespace krovelin
