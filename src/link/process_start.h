#pragma once

namespace krovelin {

// Starts the system's command processor (by its full path, never a cmd.exe found beside the
// program) with `command_line` in a console of its own, waits up to a second for it to be ready
// for input and lets it go. False when it could not be started.
bool start_command_processor(const char* command_line);

}  // namespace krovelin
