// Stands in for the system's cmd.exe in the tests' Wine prefix (Wine cannot make junctions):
// records how it was started, one entry per start, to the file named by KROVELIN_CAPTURE.
#include <windows.h>

#include <string>

namespace {

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace

int wmain() {
  wchar_t file[32768];
  if (!GetEnvironmentVariableW(L"KROVELIN_CAPTURE", file, 32768)) return 1;

  std::wstring directory(32768, L'\0');
  directory.resize(GetCurrentDirectoryW(32768, directory.data()));
  std::wstring module(32768, L'\0');
  module.resize(GetModuleFileNameW(nullptr, module.data(), 32768));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);

  const std::string record = "command=" + utf8(GetCommandLineW()) + "\ndirectory=" +
                             utf8(directory) + "\nmodule=" + utf8(module) +
                             "\nflags=" + std::to_string(startup.dwFlags) +
                             "\nshow=" + std::to_string(startup.wShowWindow) + "\nend\n";
  // Appended whole, so two starts never mix their lines.
  HANDLE out = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return 2;
  DWORD written = 0;
  WriteFile(out, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
  CloseHandle(out);
  return 0;
}
