#include <windows.h>

#include "shell/fatal.h"

namespace krovelin {

void show_fatal_box(const char* text) noexcept {
  // Converted on the stack: the heap may be what failed.
  wchar_t wide[512];
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 512);
  if (n <= 0) wide[0] = L'\0';
  MessageBoxW(nullptr, wide, L"错误", MB_OK | MB_ICONERROR);
}

void end_process(int exit_code) noexcept { ExitProcess(static_cast<UINT>(exit_code)); }

}  // namespace krovelin
