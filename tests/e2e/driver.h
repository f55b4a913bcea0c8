#pragma once
// Drives the real krovelin.exe under Wine: starts it, sends it real mouse and keyboard input and
// reads its windows back with window messages.
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace e2e {

// Index of each control in the main window's creation order; its window id is 101 + index.
enum ControlIndex {
  kLinkLabel = 0,
  kLinkEdit = 1,
  kLinkDriveBox = 2,
  kLinkDirectoryBox = 3,
  kTargetDriveBox = 4,
  kTargetDirectoryBox = 5,
  kTargetLabel = 6,
  kTargetEdit = 7,
  kOkButton = 8,
  kAboutButton = 9,
  kNoteLabel = 10,
};

std::wstring environment(const wchar_t* name);
// A Unix path (/work/...) as Wine's Z: drive sees it; Windows paths pass unchanged.
std::wstring windows_path(std::wstring path);
std::wstring krovelin_exe();         // KROVELIN_EXE
std::wstring krovelin_faults_exe();  // KROVELIN_FAULTS_EXE
// A fresh, empty folder for one test under KROVELIN_WORK, made anew on each call.
std::wstring scratch_folder(std::wstring_view name);
void make_folder(const std::wstring& path);  // with its parents
void write_file(const std::wstring& path, std::string_view bytes);
void copy_file(const std::wstring& from, const std::wstring& to);
std::string utf8(std::wstring_view text);
std::wstring wide(std::string_view text);

// Polls `done` until it holds or `timeout` passes.
bool wait_until(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::seconds(10));
void pause(std::chrono::milliseconds time);

// One run of a program: started in `folder` (empty: the driver's own), ended at destruction.
class Program {
 public:
  // `environment_changes` holds NAME=VALUE entries put over the driver's own environment.
  Program(const std::wstring& exe, const std::wstring& folder = L"",
          const std::vector<std::wstring>& environment_changes = {});
  // The same, with `arguments` after the program's quoted path on its command line (defined in
  // the helpers block at the end of driver.cpp).
  Program(const std::wstring& exe, const std::wstring& folder,
          const std::vector<std::wstring>& environment_changes, const std::wstring& arguments);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD pid() const { return info_.dwProcessId; }
  HANDLE process() const { return info_.hProcess; }
  // The main window once it is visible (null if it did not appear in time).
  HWND window();
  HWND control(int index);
  bool running() const;
  // The exit code, or STILL_ACTIVE when the program is still running after `timeout`.
  DWORD wait_exit(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Lets the program handle everything sent to it so far.
  void settle();

 private:
  PROCESS_INFORMATION info_{};
  HWND window_ = nullptr;
};

// Top-level windows of a process, by class (L"#32770" for message boxes); visible ones only.
std::vector<HWND> top_windows(DWORD pid, const wchar_t* window_class = nullptr);
std::wstring window_text(HWND window);
std::wstring class_name(HWND window);
RECT window_rect(HWND window);
RECT client_rect_on_screen(HWND window);
HWND focused_control(HWND main_window);
// The text of a message box's static text control.
std::wstring message_box_text(HWND box);
inline constexpr wchar_t kMessageBoxClass[] = L"#32770";
// The process's message boxes with this title, and the first of them once one shows (nullptr
// when none does in time).
std::vector<HWND> message_boxes(DWORD pid, const wchar_t* title);
HWND wait_for_message_box(DWORD pid, const wchar_t* title);

// Real input, as a person gives it.
void click_at(POINT screen, bool twice = false);
void click(HWND window, bool twice = false);  // the window's centre
void click_client(HWND window, POINT client, bool twice = false);
void press(WORD key, std::initializer_list<WORD> modifiers = {});
void type_text(std::wstring_view text);  // each character as a keystroke
void paste_text(std::wstring_view text);  // through the clipboard, with Ctrl+V

// Drive boxes.
std::vector<std::wstring> combo_entries(HWND combo);
int combo_selection(HWND combo);

// Directory boxes: nodes read through memory in the program's process, since tree view
// messages with pointers are not carried across processes.
struct Node {
  HTREEITEM item;
  int depth;
  std::wstring text;
  int image;
  int selected_image;
  bool selected;
  bool expanded;
};
std::vector<Node> tree_nodes(Program& program, HWND tree);
RECT node_rect(Program& program, HWND tree, HTREEITEM item);  // client coordinates
// Scrolls the node into view, then double-clicks it (or selects it with one click).
void click_node(Program& program, HWND tree, const Node& node, bool twice);
const Node* find_node(const std::vector<Node>& nodes, std::wstring_view text);

// What the stand-in command processor recorded, one entry per start.
struct Capture {
  std::wstring command_line;
  std::wstring current_directory;
  std::wstring module;
  DWORD flags = 0;
  WORD show_window = 0;
};
std::vector<Capture> read_captures(const std::wstring& file);
// A fresh capture file name; programs started with `capture_environment(file)` record there.
std::wstring fresh_capture_file(std::wstring_view name);
std::vector<std::wstring> capture_environment(const std::wstring& file);

// ---------------------------------------------------------------------------------------------
// Helpers added for the window and fatal error tests.
// ---------------------------------------------------------------------------------------------

// Presses the left button at `from`, moves to `to` and lets go there (a window's title bar drags
// the window along).
void drag(POINT from, POINT to);
// The middle of a top-level window's title bar, in screen coordinates: a place to click to
// activate it or to drag it by.
POINT title_bar(HWND window);

// ---------------------------------------------------------------------------------------------
// Helpers added for the robustness tests.
// ---------------------------------------------------------------------------------------------

// The text of one directory box node, read through memory in the program's process.
std::wstring node_text(Program& program, HWND tree, HTREEITEM item);
// Key strokes as one batch of real input: each key pressed and let go in turn, without the pauses
// press() makes, for long runs of keys whose effect is waited for afterwards.
void press_keys(std::initializer_list<WORD> keys);

}  // namespace e2e
