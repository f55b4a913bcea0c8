// Start-up, the message loop and the end of the program.
// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on

#include <string>

#include "shell/fatal.h"
#include "shell/heap.h"
#include "shell/module_path.h"
#include "shell/shell.h"
#include "shell/wide.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace krovelin {

// The test build replaces the program heap by one that fails on demand.
Heap& startup_heap() noexcept;

namespace {

// The program's own path in full, however long: a path cut short would name an ancestor folder.
std::wstring module_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

void init_shell(MainWindow& window) {
  set_program_heap(startup_heap());
  const std::string path = narrow(module_path());
  // Whether the change succeeds is not looked at: the folder the process was started in stays.
  if (auto folder = module_folder(path)) SetCurrentDirectoryW(widen(*folder).c_str());
  if (!form_is_valid(kControls, form_bindings())) report_fatal_error(kFormUnreadable);
  shell().set_form(form_bindings(), &window);
}

void end_routine() {}

// Handles what is already waiting, up to (not including) a quit request.
void process_waiting_messages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
    if (message.message == WM_QUIT) return;
    PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

void load_window(MainWindow& window) {
  Shell& state = shell();
  process_waiting_messages();
  state.suspend_events();
  if (!window.build()) report_fatal_error(kWindowNotLoaded);
  state.window_loaded = true;
  // Whatever events the building caused are dropped while delivery is still suspended.
  process_waiting_messages();
  state.resume_events();
  state.raise_event(kMainWindow, Event::created);
  if (state.window_loaded && window.window()) ShowWindow(window.window(), SW_SHOW);
}

int run_message_loop(MainWindow& window) {
  Shell& state = shell();
  state.loop_started = true;
  if (!state.window_loaded) return 0;
  MSG message;
  for (;;) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    if (window.take_key(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

int start_routine() {
  MainWindow window;
  init_shell(window);
  shell().set_end_routine(end_routine);
  load_window(window);
  const int code = run_message_loop(window);
  shell().end_processing();
  return code;
}

}  // namespace
}  // namespace krovelin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // No box of the system's own for a drive without a medium: the operation just fails.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  return krovelin::start_routine();
}
