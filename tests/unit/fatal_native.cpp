// The native build's side of a fatal error: the box's text goes to standard error unchanged and
// the process ends at once, without running any exit handlers.
#include "fatal_native.h"

#include <cstdio>
#include <cstdlib>

#include "shell/fatal.h"

namespace krovelin {
namespace test {
namespace {

FatalBoxHook box_hook = nullptr;

}  // namespace

void set_fatal_box_hook(FatalBoxHook hook) noexcept { box_hook = hook; }

}  // namespace test

void show_fatal_box(const char* text) noexcept {
  std::fputs(text, stderr);
  std::fflush(stderr);
  if (test::box_hook) test::box_hook();
}

void end_process(int exit_code) noexcept {
  std::fflush(stderr);
  std::_Exit(exit_code);
}

}  // namespace krovelin
