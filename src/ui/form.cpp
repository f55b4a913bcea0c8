#include "ui/form.h"

#include "link/handlers.h"

namespace krovelin {
namespace {

constexpr Binding kBindings[] = {
    {kMainWindow, Event::created, on_window_created},
    {kLinkDriveBox, Event::drive_changed, on_link_drive_changed},
    {kLinkDirectoryBox, Event::directory_changed, on_link_folder_changed},
    {kTargetDriveBox, Event::drive_changed, on_target_drive_changed},
    {kTargetDirectoryBox, Event::directory_changed, on_target_folder_changed},
    {kOkButton, Event::click, on_ok_clicked},
    {kAboutButton, Event::click, on_about_clicked},
};

}  // namespace

std::span<const Binding> form_bindings() noexcept { return kBindings; }

bool form_is_valid(std::span<const ControlSpec> controls, std::span<const Binding> bindings) {
  for (std::size_t i = 0; i < controls.size(); ++i)
    for (std::size_t j = i + 1; j < controls.size(); ++j)
      if (controls[i].name == controls[j].name) return false;
  for (const Binding& binding : bindings) {
    if (binding.handler == nullptr) return false;
    if (binding.source == kMainWindow) continue;
    bool found = false;
    for (const ControlSpec& control : controls) found = found || control.name == binding.source;
    if (!found) return false;
  }
  return true;
}

}  // namespace krovelin
