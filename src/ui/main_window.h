#pragma once
#include <windows.h>

#include <array>
#include <memory>

#include "shell/services.h"
#include "ui/control_view.h"
#include "ui/form.h"

namespace krovelin {

inline constexpr wchar_t kMainWindowClass[] = L"KrovelinMainWindow";

// The one window of the program, built from the form. It also answers the handlers' services:
// their reads and writes reach its controls by name.
class MainWindow final : public Services {
 public:
  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window and its controls, hidden but for the controls. False when any of them
  // could not be made; what was made is destroyed again.
  bool build();
  HWND window() const noexcept { return window_; }

  // Tab, Shift+Tab and Esc are the window's own, whichever control has the focus. True when the
  // key was taken and must not reach the control.
  bool take_key(const MSG& message);

  char* read_property(std::string_view control) override;
  void write_property(std::string_view control, const char* text) override;
  bool start_process(const char* command_line) override;
  void show_message_box(const char* text, const char* title, unsigned style) override;

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
  ControlView* control_by_id(int id) const noexcept;
  ControlView* control_by_name(std::string_view name) const noexcept;
  void move_focus(bool backwards);
  void focus_first_or_remembered();

  HWND window_ = nullptr;
  HWND remembered_focus_ = nullptr;
  std::array<std::unique_ptr<ControlView>, kControls.size()> controls_;
};

}  // namespace krovelin
