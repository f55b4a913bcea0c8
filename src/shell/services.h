#pragma once
#include <string_view>

namespace krovelin {

// What a handler may do: read and write the value property of a control addressed by its name,
// start a process and show a message box. The main window answers on Windows; native tests
// answer with in-memory controls.
class Services {
 public:
  // A new text value owned by the caller, or the missing text when the value is empty.
  virtual char* read_property(std::string_view control) = 0;
  // The control keeps its own copy; the caller still owns `text`.
  virtual void write_property(std::string_view control, const char* text) = 0;
  // Starts `command_line` in a console of its own; false when the start failed.
  virtual bool start_process(const char* command_line) = 0;
  virtual void show_message_box(const char* text, const char* title, unsigned style) = 0;

 protected:
  ~Services() = default;
};

}  // namespace krovelin
