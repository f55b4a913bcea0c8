// Starts a program, says "ready" on standard output once its main window is shown and idle,
// waits for a line on standard input, then presses Esc in that window and prints the program's
// exit code. scripts/run takes its screenshot in between. Key names given after the program
// (tab, down, enter, end, or a single character) are typed before "ready", as a person would.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND main_window_of(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND found;
  } search{pid, nullptr};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.pid && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void press(WORD key) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = key;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
  Sleep(150);
}

void type(const std::wstring& name) {
  if (name == L"tab") return press(VK_TAB);
  if (name == L"down") return press(VK_DOWN);
  if (name == L"enter") return press(VK_RETURN);
  if (name == L"end") return press(VK_END);
  if (name == L"backspace") return press(VK_BACK);
  for (wchar_t c : name) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wScan = keys[1].ki.wScan = c;
    keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
    keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
    Sleep(30);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fputs("usage: launch PROGRAM.exe\n", stderr);
    return 2;
  }
  std::wstring command_line = L"\"" + std::wstring(argv[1]) + L"\"";
  // Started in its own folder, as a shortcut would; the program makes that its folder anyway.
  std::wstring folder = argv[1];
  folder.resize(folder.find_last_of(L"\\/") == std::wstring::npos ? 0
                                                                   : folder.find_last_of(L"\\/"));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(argv[1], command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    std::printf("could not start the program (error %lu)\n", GetLastError());
    return 1;
  }
  WaitForInputIdle(started.hProcess, 10000);
  HWND window = nullptr;
  for (int i = 0; i < 500 && !window; ++i) {
    window = main_window_of(started.dwProcessId);
    if (!window) Sleep(20);
  }
  Sleep(500);  // the first paint
  if (window) {
    SetForegroundWindow(window);
    Sleep(500);  // input sent before the window is active goes elsewhere
    for (int i = 2; i < argc; ++i) type(argv[i]);
    Sleep(300);
  }
  std::printf(window ? "ready\n" : "no window\n");
  std::fflush(stdout);

  char line[64];
  std::fgets(line, sizeof line, stdin);
  if (window) {
    SetForegroundWindow(window);
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = VK_ESCAPE;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
  }
  DWORD code = 0;
  if (WaitForSingleObject(started.hProcess, 10000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(started.hProcess, &code);
    std::printf("exit code %ld\n", static_cast<long>(code));
  } else {
    std::printf("still running after Esc\n");
    TerminateProcess(started.hProcess, 1);
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return 0;
}
