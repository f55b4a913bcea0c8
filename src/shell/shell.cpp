#include "shell/shell.h"

namespace krovelin {

bool Shell::raise_event(std::string_view source, Event event) {
  if (events_suspended() || services_ == nullptr) return false;
  for (const Binding& binding : bindings_) {
    if (binding.source == source && binding.event == event) {
      binding.handler(*services_);
      return true;
    }
  }
  return false;
}

void Shell::end_processing() noexcept {
  suspend_events_for_good();
  set_form({}, nullptr);
  if (EndRoutine routine = end_routine_) {
    end_routine_ = nullptr;
    routine();
  }
}

Shell& shell() noexcept {
  static Shell the_shell;
  return the_shell;
}

}  // namespace krovelin
