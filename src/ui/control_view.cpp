#include "ui/control_view.h"

#include "shell/wide.h"

namespace krovelin {

char* ControlView::read_value() { return window_text(window_); }

void ControlView::write_value(const char* text) { set_window_text(window_, text); }

bool ControlView::create_window(HWND parent, const wchar_t* window_class, DWORD style,
                                DWORD ex_style, int height) {
  const int index = control_index(spec_.name);
  style |= WS_CHILD | WS_CLIPSIBLINGS | (spec_.tab_stop ? WS_TABSTOP : 0);
  window_ = CreateWindowExW(ex_style, window_class, widen(spec_.text).c_str(), style, spec_.left,
                            spec_.top, spec_.width, height, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + index)),
                            GetModuleHandleW(nullptr), nullptr);
  return window_ != nullptr;
}

std::unique_ptr<ControlView> make_control(const ControlSpec& spec, HWND parent) {
  switch (spec.kind) {
    case Kind::label:
      return make_label(spec, parent);
    case Kind::edit_box:
      return make_edit_box(spec, parent);
    case Kind::button:
      return make_button(spec, parent);
    case Kind::drive_box:
      return make_drive_box(spec, parent);
    case Kind::directory_box:
      return make_directory_box(spec, parent);
  }
  return nullptr;
}

std::wstring current_directory() {
  const DWORD needed = GetCurrentDirectoryW(0, nullptr);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  const DWORD length = GetCurrentDirectoryW(needed, path.data());
  // A length of the buffer's size or more: the folder changed between the calls and needs more.
  path.resize(length < needed ? length : 0);
  return path;
}

HFONT gui_font() noexcept { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

}  // namespace krovelin
