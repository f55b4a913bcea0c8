// The platform side of a fatal error for the fuzz targets. No target lets the heap fail, so
// reaching this is itself a finding: aborting makes libFuzzer keep the input.
#include <cstdio>
#include <cstdlib>

#include "shell/fatal.h"

namespace krovelin {

void show_fatal_box(const char* text) noexcept { std::fprintf(stderr, "fatal box: %s\n", text); }

[[noreturn]] void end_process(int) noexcept { std::abort(); }

}  // namespace krovelin
