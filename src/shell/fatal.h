#pragma once
#include <cstddef>
#include <string_view>

namespace krovelin {

inline constexpr std::string_view kFormUnreadable = "载入窗口模板数据段出错!";
inline constexpr std::string_view kWindowNotLoaded = "载入启动窗口失败";

// The error box's text, built without the heap: the heap may be what failed.
struct FatalBoxText {
  char bytes[512];
  std::size_t size;
};
FatalBoxText fatal_box_text(std::string_view message) noexcept;

// "分配 %d 字节内存失败!" with the size in decimal, also without the heap.
struct AllocationMessage {
  char bytes[64];
  std::size_t size;
};
AllocationMessage allocation_failure_message(std::size_t size) noexcept;

// Suspends events for good, shows the box, drops the end routine, runs the end processing and
// ends the process with exit code -1.
[[noreturn]] void report_fatal_error(std::string_view message) noexcept;
[[noreturn]] void report_allocation_failure(std::size_t size) noexcept;

// The platform's side, one per build: Windows shows a message box and calls ExitProcess; the
// native test build writes the text to standard error and exits.
void show_fatal_box(const char* text) noexcept;
[[noreturn]] void end_process(int exit_code) noexcept;

}  // namespace krovelin
