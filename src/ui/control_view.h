#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "shell/shell.h"
#include "ui/form.h"

namespace krovelin {

// One control of the main window, made from its row of the form. Each kind owns its creation,
// painting and notifications; the main window hands WM_COMMAND and WM_NOTIFY back to the kind
// that sent them.
class ControlView {
 public:
  explicit ControlView(const ControlSpec& spec) noexcept : spec_(spec) {}
  virtual ~ControlView() = default;
  ControlView(const ControlView&) = delete;
  ControlView& operator=(const ControlView&) = delete;

  const ControlSpec& spec() const noexcept { return spec_; }
  HWND window() const noexcept { return window_; }  // owned by the main window

  // The value property: a new text value, or the missing text when it is empty.
  virtual char* read_value();
  // Stores a copy of `text`; a write raises no event.
  virtual void write_value(const char* text);
  virtual void on_command(WORD /*code*/) {}
  virtual LRESULT on_notify(const NMHDR& /*header*/) { return 0; }

 protected:
  // Creates the child window at the form's place, hidden, with WS_CHILD, WS_CLIPSIBLINGS and
  // WS_TABSTOP where the form asks for it. False when the window could not be made.
  bool create_window(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style,
                     int height);
  void raise(Event event) { shell().raise_event(spec_.name, event); }

  const ControlSpec& spec_;
  HWND window_ = nullptr;
};

// Makes the control of `spec`'s kind as a child of `parent`; null when it cannot be made.
std::unique_ptr<ControlView> make_control(const ControlSpec& spec, HWND parent);

std::unique_ptr<ControlView> make_label(const ControlSpec& spec, HWND parent);
std::unique_ptr<ControlView> make_edit_box(const ControlSpec& spec, HWND parent);
std::unique_ptr<ControlView> make_button(const ControlSpec& spec, HWND parent);
std::unique_ptr<ControlView> make_drive_box(const ControlSpec& spec, HWND parent);
std::unique_ptr<ControlView> make_directory_box(const ControlSpec& spec, HWND parent);

HFONT gui_font() noexcept;  // the stock DEFAULT_GUI_FONT; stock objects are never deleted

// The process's current directory as the system reports it; empty when it cannot be had.
std::wstring current_directory();

}  // namespace krovelin
