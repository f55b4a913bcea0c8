#include "driver.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <map>

namespace e2e {

std::string utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring wide(std::string_view text) {
  if (text.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::wstring environment(const wchar_t* name) {
  const DWORD n = GetEnvironmentVariableW(name, nullptr, 0);
  if (n == 0) return {};
  std::wstring value(n, L'\0');
  value.resize(GetEnvironmentVariableW(name, value.data(), n));
  return value;
}

std::wstring windows_path(std::wstring path) {
  if (path.empty() || path[0] != L'/') return path;
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return L"Z:" + path;
}

std::wstring krovelin_exe() { return windows_path(environment(L"KROVELIN_EXE")); }
std::wstring krovelin_faults_exe() { return windows_path(environment(L"KROVELIN_FAULTS_EXE")); }

void make_folder(const std::wstring& path) {
  for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos;
       at = path.find(L'\\', at + 1)) {
    CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryW(path.c_str(), nullptr);
}

namespace {

void remove_tree(const std::wstring& path) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring child = path + L"\\" + name;
      SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        remove_tree(child);
      else
        DeleteFileW(child.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path.c_str());
}

}  // namespace

std::wstring scratch_folder(std::wstring_view name) {
  std::wstring root = windows_path(environment(L"KROVELIN_WORK"));
  if (root.empty()) root = L"C:\\krovelin-e2e";
  const std::wstring path = root + L"\\" + std::wstring(name);
  remove_tree(path);
  make_folder(path);
  return path;
}

void write_file(const std::wstring& path, std::string_view bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

void copy_file(const std::wstring& from, const std::wstring& to) {
  CopyFileW(from.c_str(), to.c_str(), FALSE);
}

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    Sleep(20);
  }
}

void pause(std::chrono::milliseconds time) { Sleep(static_cast<DWORD>(time.count())); }

Program::Program(const std::wstring& exe, const std::wstring& folder,
                 const std::vector<std::wstring>& environment_changes)
    : Program(exe, folder, environment_changes, L"") {}

Program::~Program() {
  if (info_.hProcess) {
    if (running()) {
      TerminateProcess(info_.hProcess, 99);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
}

bool Program::running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Program::window() {
  if (window_ && IsWindow(window_)) return window_;
  wait_until([&] {
    std::vector<HWND> found = top_windows(pid(), L"KrovelinMainWindow");
    window_ = found.empty() ? nullptr : found.front();
    return window_ != nullptr || !running();
  });
  if (window_) settle();
  return window_;
}

HWND Program::control(int index) { return GetDlgItem(window(), 101 + index); }

DWORD Program::wait_exit(std::chrono::milliseconds timeout) {
  if (!info_.hProcess) return STILL_ACTIVE;
  WaitForSingleObject(info_.hProcess, static_cast<DWORD>(timeout.count()));
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

void Program::settle() {
  // Sent messages are handled only once everything posted before them is through the queue.
  for (int i = 0; i < 3; ++i) {
    Sleep(60);
    DWORD_PTR result = 0;
    if (window_ && IsWindow(window_))
      SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  }
}

std::vector<HWND> top_windows(DWORD pid, const wchar_t* window_class) {
  struct Search {
    DWORD pid;
    const wchar_t* window_class;
    std::vector<HWND> found;
  } search{pid, window_class, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != s.pid || !IsWindowVisible(window)) return TRUE;
        if (s.window_class && class_name(window) != s.window_class) return TRUE;
        s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring window_text(HWND window) {
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length);
  std::wstring text(length + 1, L'\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(text.data()),
                      SMTO_NORMAL, 5000, &got);
  text.resize(got);
  return text;
}

std::wstring class_name(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

RECT window_rect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT client_rect_on_screen(HWND window) {
  RECT rect{};
  GetClientRect(window, &rect);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND focused_control(HWND main_window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(main_window, nullptr), &info);
  return info.hwndFocus;
}

std::wstring message_box_text(HWND box) {
  std::wstring text;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        // The message is the static text without an icon style.
        if (class_name(child) == L"Static" && !(GetWindowLongW(child, GWL_STYLE) & SS_ICON)) {
          auto& out = *reinterpret_cast<std::wstring*>(data);
          const std::wstring t = window_text(child);
          if (!t.empty()) out = t;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  return text;
}

std::vector<HWND> message_boxes(DWORD pid, const wchar_t* title) {
  std::vector<HWND> found;
  for (HWND box : top_windows(pid, kMessageBoxClass))
    if (window_text(box) == title) found.push_back(box);
  return found;
}

HWND wait_for_message_box(DWORD pid, const wchar_t* title) {
  HWND box = nullptr;
  wait_until([&] {
    const std::vector<HWND> found = message_boxes(pid, title);
    box = found.empty() ? nullptr : found.front();
    return box != nullptr;
  });
  return box;
}

namespace {

INPUT mouse_input(POINT screen, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = static_cast<LONG>((screen.x * 65536 + width - 1) / width);
  input.mi.dy = static_cast<LONG>((screen.y * 65536 + height - 1) / height);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

INPUT key_input(WORD key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return input;
}

void send(INPUT input) {
  SendInput(1, &input, sizeof input);
  Sleep(15);
}

}  // namespace

void click_at(POINT screen, bool twice) {
  send(mouse_input(screen, MOUSEEVENTF_MOVE));
  Sleep(40);
  for (int i = 0; i < (twice ? 2 : 1); ++i) {
    send(mouse_input(screen, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN));
    send(mouse_input(screen, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP));
  }
  Sleep(60);
}

void click(HWND window, bool twice) {
  const RECT rect = window_rect(window);
  click_at({(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, twice);
}

void click_client(HWND window, POINT client, bool twice) {
  ClientToScreen(window, &client);
  click_at(client, twice);
}

void press(WORD key, std::initializer_list<WORD> modifiers) {
  for (WORD modifier : modifiers) send(key_input(modifier, false));
  send(key_input(key, false));
  send(key_input(key, true));
  for (auto it = modifiers.end(); it != modifiers.begin();) send(key_input(*--it, true));
  Sleep(60);
}

void type_text(std::wstring_view text) {
  for (wchar_t c : text) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = c;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    send(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    send(input);
  }
  Sleep(60);
}

void paste_text(std::wstring_view text) {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* bytes = static_cast<wchar_t*>(GlobalLock(block));
    std::wmemcpy(bytes, text.data(), text.size());
    bytes[text.size()] = L'\0';
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
  }
  press('V', {VK_CONTROL});
}

std::vector<std::wstring> combo_entries(HWND combo) {
  std::vector<std::wstring> entries;
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, i, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), text.size()));
    entries.push_back(text);
  }
  return entries;
}

int combo_selection(HWND combo) { return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0)); }

namespace {

// A block of memory inside the program's process, for messages that carry pointers.
class RemoteBlock {
 public:
  RemoteBlock(HANDLE process, std::size_t size)
      : process_(process),
        address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
  ~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  void* address() const { return address_; }
  void write(const void* data, std::size_t size, std::size_t offset = 0) {
    WriteProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }
  void read(void* data, std::size_t size, std::size_t offset = 0) {
    ReadProcessMemory(process_, static_cast<char*>(address_) + offset, data, size, nullptr);
  }

 private:
  HANDLE process_;
  void* address_;
};

HTREEITEM next_item(HWND tree, HTREEITEM item, UINT relation) {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

}  // namespace

std::vector<Node> tree_nodes(Program& program, HWND tree) {
  std::vector<Node> nodes;
  constexpr int kTextChars = 1024;
  RemoteBlock block(program.process(), sizeof(TVITEMW) + kTextChars * sizeof(wchar_t));
  const HTREEITEM selected = next_item(tree, nullptr, TVGN_CARET);

  std::function<void(HTREEITEM, int)> walk = [&](HTREEITEM first, int depth) {
    for (HTREEITEM item = first; item; item = next_item(tree, item, TVGN_NEXT)) {
      TVITEMW query{};
      query.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
      query.hItem = item;
      query.stateMask = TVIS_EXPANDED;
      query.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(block.address()) + sizeof(TVITEMW));
      query.cchTextMax = kTextChars;
      block.write(&query, sizeof query);
      SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.address()));
      TVITEMW answer{};
      block.read(&answer, sizeof answer);
      std::wstring text(kTextChars, L'\0');
      block.read(text.data(), kTextChars * sizeof(wchar_t), sizeof(TVITEMW));
      text.resize(wcsnlen(text.c_str(), text.size()));
      nodes.push_back({item, depth, text, answer.iImage, answer.iSelectedImage, item == selected,
                       (answer.state & TVIS_EXPANDED) != 0});
      walk(next_item(tree, item, TVGN_CHILD), depth + 1);
    }
  };
  walk(next_item(tree, nullptr, TVGN_ROOT), 0);
  return nodes;
}

RECT node_rect(Program& program, HWND tree, HTREEITEM item) {
  RemoteBlock block(program.process(), sizeof(RECT));
  // TVM_GETITEMRECT takes the item in the first bytes of the rectangle it fills.
  RECT rect{};
  std::memcpy(&rect, &item, sizeof item);
  block.write(&rect, sizeof rect);
  SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(block.address()));
  block.read(&rect, sizeof rect);
  return rect;
}

void click_node(Program& program, HWND tree, const Node& node, bool twice) {
  SendMessageW(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(node.item));
  program.settle();
  const RECT rect = node_rect(program, tree, node.item);
  click_client(tree, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}, twice);
  program.settle();
}

const Node* find_node(const std::vector<Node>& nodes, std::wstring_view text) {
  for (const Node& node : nodes)
    if (node.text == text) return &node;
  return nullptr;
}

std::vector<Capture> read_captures(const std::wstring& file) {
  std::vector<Capture> captures;
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return captures;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(handle);

  Capture current;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(start, end - start);
    start = end + 1;
    const std::size_t eq = line.find('=');
    const std::string key = line.substr(0, eq);
    const std::wstring value = eq == std::string::npos ? L"" : wide(line.substr(eq + 1));
    if (key == "command") current.command_line = value;
    else if (key == "directory") current.current_directory = value;
    else if (key == "module") current.module = value;
    else if (key == "flags") current.flags = static_cast<DWORD>(std::wcstoul(value.c_str(), nullptr, 10));
    else if (key == "show") current.show_window = static_cast<WORD>(std::wcstoul(value.c_str(), nullptr, 10));
    else if (key == "end") {
      captures.push_back(current);
      current = Capture{};
    }
  }
  return captures;
}

std::wstring fresh_capture_file(std::wstring_view name) {
  const std::wstring file = scratch_folder(L"captures") + L"\\" + std::wstring(name) + L".txt";
  DeleteFileW(file.c_str());
  return file;
}

std::vector<std::wstring> capture_environment(const std::wstring& file) {
  return {L"KROVELIN_CAPTURE=" + file};
}

}  // namespace e2e

// ---------------------------------------------------------------------------------------------
// Helpers added for the window and fatal error tests.
// ---------------------------------------------------------------------------------------------

namespace e2e {

Program::Program(const std::wstring& exe, const std::wstring& folder,
                 const std::vector<std::wstring>& environment_changes,
                 const std::wstring& arguments) {
  // The environment block: the driver's own, with the changes put over it.
  std::map<std::wstring, std::wstring> variables;
  if (wchar_t* block = GetEnvironmentStringsW()) {
    for (const wchar_t* entry = block; *entry; entry += wcslen(entry) + 1) {
      const std::wstring text = entry;
      const std::size_t eq = text.find(L'=', 1);
      if (eq != std::wstring::npos) variables[text.substr(0, eq)] = text.substr(eq + 1);
    }
    FreeEnvironmentStringsW(block);
  }
  for (const std::wstring& change : environment_changes) {
    const std::size_t eq = change.find(L'=', 1);
    variables[change.substr(0, eq)] = change.substr(eq + 1);
  }
  std::wstring block;
  for (const auto& [name, value] : variables) block += name + L"=" + value + L'\0';
  block += L'\0';

  std::wstring command_line = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE,
                 CREATE_UNICODE_ENVIRONMENT, block.data(), folder.empty() ? nullptr : folder.c_str(),
                 &startup, &info_);
}

void drag(POINT from, POINT to) {
  send(mouse_input(from, MOUSEEVENTF_MOVE));
  Sleep(40);
  send(mouse_input(from, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN));
  Sleep(60);
  // In steps, as a hand moves: a window's move loop follows the pointer event by event.
  constexpr int kSteps = 8;
  for (int i = 1; i <= kSteps; ++i) {
    const POINT at{from.x + (to.x - from.x) * i / kSteps, from.y + (to.y - from.y) * i / kSteps};
    send(mouse_input(at, MOUSEEVENTF_MOVE));
    Sleep(20);
  }
  send(mouse_input(to, MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP));
  Sleep(60);
}

POINT title_bar(HWND window) {
  // Between the frame's top edge and the client area.
  const RECT outer = window_rect(window);
  const RECT client = client_rect_on_screen(window);
  return {(outer.left + outer.right) / 2,
          (outer.top + GetSystemMetrics(SM_CYFIXEDFRAME) + client.top) / 2};
}

}  // namespace e2e

// ---------------------------------------------------------------------------------------------
// Helpers added for the robustness tests.
// ---------------------------------------------------------------------------------------------

namespace e2e {

std::wstring node_text(Program& program, HWND tree, HTREEITEM item) {
  constexpr int kTextChars = 1024;
  RemoteBlock block(program.process(), sizeof(TVITEMW) + kTextChars * sizeof(wchar_t));
  TVITEMW query{};
  query.mask = TVIF_TEXT;
  query.hItem = item;
  query.pszText = reinterpret_cast<wchar_t*>(static_cast<char*>(block.address()) + sizeof(TVITEMW));
  query.cchTextMax = kTextChars;
  block.write(&query, sizeof query);
  if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.address()))) return {};
  std::wstring text(kTextChars, L'\0');
  block.read(text.data(), kTextChars * sizeof(wchar_t), sizeof(TVITEMW));
  text.resize(wcsnlen(text.c_str(), text.size()));
  return text;
}

void press_keys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    inputs.push_back(key_input(key, false));
    inputs.push_back(key_input(key, true));
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

}  // namespace e2e
