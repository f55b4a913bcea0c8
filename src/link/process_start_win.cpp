#include <windows.h>

#include <string>

#include "link/process_start.h"
#include "shell/handles.h"
#include "shell/wide.h"

namespace krovelin {
namespace {

constexpr std::size_t kLongestCommandLine = 32766;

std::wstring system_command_processor() {
  const UINT needed = GetSystemDirectoryW(nullptr, 0);
  if (needed == 0) return {};
  std::wstring path(needed, L'\0');
  path.resize(GetSystemDirectoryW(path.data(), needed));
  return path + L"\\cmd.exe";
}

}  // namespace

bool start_command_processor(const char* command_line) {
  const std::wstring application = system_command_processor();
  if (application.empty()) return false;
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring line = widen(command_line ? command_line : "");
  // Windows refuses a command line of more than 32,767 characters with its terminator; some
  // systems (Wine) cut it short and start anyway, which would hand MKLINK a cut path. Such a
  // line fails here on every system, as a failed start: nothing is shown.
  if (line.size() > kLongestCommandLine) return false;

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(application.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return false;
  }
  UniqueHandle process(started.hProcess);
  UniqueHandle thread(started.hThread);
  WaitForInputIdle(process.get(), 1000);
  thread.reset();
  process.reset();
  return true;
}

}  // namespace krovelin
