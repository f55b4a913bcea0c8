#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "shell/services.h"

namespace krovelin {

enum class Event : std::uint8_t { created, click, drive_changed, directory_changed };

using Handler = void (*)(Services&);

// An event of a control (or of the main window, whose source name is empty) and its handler.
struct Binding {
  std::string_view source;
  Event event;
  Handler handler;
};

inline constexpr std::string_view kMainWindow = "";

// The shell's state: event routing, the end routine and the flags of the window's life.
class Shell {
 public:
  using EndRoutine = void (*)();

  void set_form(std::span<const Binding> bindings, Services* services) noexcept {
    bindings_ = bindings;
    services_ = services;
  }

  void suspend_events() noexcept { ++suspension_; }
  void resume_events() noexcept {
    if (suspension_ > 0) --suspension_;
  }
  // A suspension that no resume takes back: after a fatal error or once the program ends.
  void suspend_events_for_good() noexcept { suspended_for_good_ = true; }
  bool events_suspended() const noexcept { return suspended_for_good_ || suspension_ > 0; }

  // Runs the first handler bound to this event of `source`, synchronously; true if one ran.
  bool raise_event(std::string_view source, Event event);

  void set_end_routine(EndRoutine routine) noexcept { end_routine_ = routine; }
  void drop_end_routine() noexcept { end_routine_ = nullptr; }
  // Suspends events for good, drops the form and runs the end routine at most once.
  void end_processing() noexcept;

  bool window_loaded = false;
  bool loop_started = false;

 private:
  std::int32_t suspension_ = 0;
  bool suspended_for_good_ = false;
  std::span<const Binding> bindings_;
  Services* services_ = nullptr;
  EndRoutine end_routine_ = nullptr;
};

// The one shell of this process.
Shell& shell() noexcept;

}  // namespace krovelin
