#pragma once

namespace krovelin::test {

// Runs while the fatal error box is "up", after its text went to standard error: the place where,
// on Windows, messages keep flowing behind the modal box. Null for none.
using FatalBoxHook = void (*)();
void set_fatal_box_hook(FatalBoxHook hook) noexcept;

}  // namespace krovelin::test
