#pragma once
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/services.h"
#include "shell/text.h"

namespace krovelin::test {

struct MessageBoxCall {
  std::string text;
  std::string title;
  unsigned style;
};

// In-memory controls answering a handler's services. Every call lands in `log`, in order:
//   "read <control>", "write <control> = <text>", "start <command line>", "box <text>".
// A written missing text is logged as "(missing)".
class FakeControls final : public Services {
 public:
  std::map<std::string, std::string, std::less<>> values;
  std::vector<std::string> log;
  std::vector<std::string> started;
  std::vector<MessageBoxCall> boxes;
  bool start_succeeds = true;
  // Runs after each write, for controls that react to one another.
  std::function<void(FakeControls&, std::string_view control)> after_write;

  // Like the real controls: a fresh text value from the program heap, missing when empty.
  char* read_property(std::string_view control) override {
    log.push_back("read " + std::string(control));
    const auto found = values.find(control);
    return found == values.end() ? nullptr : copy_text(std::string_view(found->second));
  }

  void write_property(std::string_view control, const char* text) override {
    log.push_back("write " + std::string(control) + " = " + (text ? text : "(missing)"));
    values.insert_or_assign(std::string(control), std::string(text ? text : ""));
    if (after_write) after_write(*this, control);
  }

  bool start_process(const char* command_line) override {
    started.emplace_back(command_line ? command_line : "(missing)");
    log.push_back("start " + started.back());
    return start_succeeds;
  }

  void show_message_box(const char* text, const char* title, unsigned style) override {
    boxes.push_back({text ? text : "(missing)", title ? title : "(missing)", style});
    log.push_back("box " + boxes.back().text);
  }
};

}  // namespace krovelin::test
