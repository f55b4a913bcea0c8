#include "ui/control_view.h"

namespace krovelin {
namespace {

class Button final : public ControlView {
 public:
  using ControlView::ControlView;

  bool create(HWND parent) {
    if (!create_window(parent, L"BUTTON", BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE, 0,
                       spec_.height)) {
      return false;
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font()), FALSE);
    return true;
  }

  void on_command(WORD code) override {
    if (code == BN_CLICKED) raise(Event::click);
  }
};

}  // namespace

std::unique_ptr<ControlView> make_button(const ControlSpec& spec, HWND parent) {
  auto button = std::make_unique<Button>(spec);
  if (!button->create(parent)) return nullptr;
  return button;
}

}  // namespace krovelin
