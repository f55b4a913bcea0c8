// The link command as a person starts it with 确定, and the About box.
// clang-format off
#include "driver.h"
#include <tlhelp32.h>
// clang-format on

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr wchar_t kPlaceholder[] = L"文件夹必须不存在，稍后自动创建";

struct ProcessEntry {
  DWORD pid;
  DWORD parent;
  std::wstring exe;
};

std::vector<ProcessEntry> processes() {
  std::vector<ProcessEntry> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    found.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
  CloseHandle(snapshot);
  return found;
}

bool same_text_ignoring_case(std::wstring_view a, std::wstring_view b) {
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

std::vector<DWORD> command_processors() {
  std::vector<DWORD> found;
  for (const ProcessEntry& entry : processes())
    if (same_text_ignoring_case(entry.exe, L"cmd.exe")) found.push_back(entry.pid);
  return found;
}

std::wstring system_command_processor() {
  wchar_t folder[MAX_PATH] = {};
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\cmd.exe";
}

// Waits until `count` starts are recorded and no command processor runs any more, so that a start
// that should not have happened has had every chance to show in the record.
std::vector<Capture> captures_once_quiet(const std::wstring& file, std::size_t count) {
  wait_until([&] { return read_captures(file).size() >= count && command_processors().empty(); });
  return read_captures(file);
}

// Replaces the whole text of an edit box as a person does: click into it, select to the start of
// the line and delete, then type or paste the new text.
void enter_path(HWND edit, std::wstring_view text, bool paste) {
  click(edit);
  press(VK_END);
  press(VK_HOME, {VK_SHIFT});
  press(VK_DELETE);
  if (text.empty()) return;
  if (paste)
    paste_text(text);
  else
    type_text(text);
}

struct CommandCase {
  const wchar_t* link;
  const wchar_t* target;
  bool paste;
  const wchar_t* command_line;
};

}  // namespace

// Each row is entered into the boxes of one running program and sent with a click on 确定; each
// click starts exactly one command processor, the system's, shown normally.
TEST(Link, OkStartsSystemCommandProcessorWithBothPaths) {
  const CommandCase cases[] = {
      {L"D:\\Links\\Games", L"E:\\Games", false, L"CMD /k MKLINK /d /j D:\\Links\\Games E:\\Games"},
      {L"", L"", false, L"CMD /k MKLINK /d /j  "},
      {L"D:\\My Links\\Games", L"E:\\Games\\", false,
       L"CMD /k MKLINK /d /j \"D:\\My Links\\Games\" E:\\Games\\"},
      {L"D:\\a&b", L"\"E:\\x y\"", false, L"CMD /k MKLINK /d /j \"D:\\a&b\" \"E:\\x y\""},
      {L"D:\\Games (x86)", L"E:\\a=b;c,d", false,
       L"CMD /k MKLINK /d /j \"D:\\Games (x86)\" \"E:\\a=b;c,d\""},
      {L"D:\\x|y", L"E:\\p<q>r^s", false, L"CMD /k MKLINK /d /j \"D:\\x|y\" \"E:\\p<q>r^s\""},
      {L"D:\\\"a b", L"E:\\c", false, L"CMD /k MKLINK /d /j D:\\\"a b E:\\c"},
      {L"D:\\a\tb", L"E:\\c", true, L"CMD /k MKLINK /d /j \"D:\\a\tb\" E:\\c"},
      {L"D:\\链接\\游戏", L"E:\\数据\\游戏", true,
       L"CMD /k MKLINK /d /j D:\\链接\\游戏 E:\\数据\\游戏"},
      {L"D:\\表情\\😀", L"E:\\𠀀\\目标 文件夹", true,
       L"CMD /k MKLINK /d /j D:\\表情\\😀 \"E:\\𠀀\\目标 文件夹\""},
  };
  const std::wstring file = fresh_capture_file(L"command-lines");
  Program program(krovelin_exe(), L"", capture_environment(file));
  ASSERT_NE(program.window(), nullptr);
  HWND link_edit = program.control(kLinkEdit);
  HWND target_edit = program.control(kTargetEdit);

  // Untouched, the link box still holds its note and the target box is empty.
  ASSERT_EQ(window_text(link_edit), kPlaceholder);
  ASSERT_EQ(window_text(target_edit), L"");
  click(program.control(kOkButton));
  std::vector<Capture> captures = captures_once_quiet(file, 1);
  ASSERT_EQ(captures.size(), 1u);
  EXPECT_EQ(captures[0].command_line, std::wstring(L"CMD /k MKLINK /d /j ") + kPlaceholder + L" ");

  for (const CommandCase& row : cases) {
    SCOPED_TRACE(testing::Message() << "link " << utf8(row.link) << " target " << utf8(row.target));
    enter_path(link_edit, row.link, row.paste);
    enter_path(target_edit, row.target, row.paste);
    program.settle();
    ASSERT_EQ(window_text(link_edit), row.link);
    ASSERT_EQ(window_text(target_edit), row.target);
    const std::size_t before = captures.size();
    click(program.control(kOkButton));
    captures = captures_once_quiet(file, before + 1);
    ASSERT_EQ(captures.size(), before + 1);
    EXPECT_EQ(captures.back().command_line, row.command_line);
  }

  for (const Capture& capture : captures) {
    EXPECT_TRUE(same_text_ignoring_case(capture.module, system_command_processor()))
        << utf8(capture.module);
    EXPECT_EQ(capture.flags, static_cast<DWORD>(STARTF_USESHOWWINDOW));
    EXPECT_EQ(capture.show_window, SW_SHOWNORMAL);
  }
}

// The command processor inherits the program's current directory, which start-up sets to the
// program's own folder, whatever folder it was started from and however long the folder's path.
TEST(Link, CommandProcessorRunsInProgramsFolder) {
  const std::wstring root = scratch_folder(L"folders");
  const std::wstring start = root + L"\\start";
  make_folder(start);
  const std::wstring long_name = std::wstring(L"很长的中文文件夹名称") + L"很长的中文文件夹名称" +
                                 L"很长的中文文件夹名称" + L"很长的中文文件夹名称" +
                                 L"很长的中文文件夹名称";  // 50 characters, 150 bytes
  struct FolderCase {
    const char* what;
    std::wstring folder;
  };
  const FolderCase cases[] = {
      {"plain", root + L"\\plain"},
      {"Chinese name", root + L"\\中文目录\\程序"},
      {"over 260 bytes", root + L"\\" + long_name + L"\\" + long_name},
      // No case over 260 characters: Wine 8 refuses to start a program from such a path
      // (CreateProcessW fails with ERROR_INVALID_NAME) and starts no process at all whose current
      // directory is that long (ERROR_PATH_NOT_FOUND), so neither krovelin nor the command
      // processor could run there.
  };
  ASSERT_GT(utf8(cases[2].folder).size(), 260u);
  const std::wstring file = fresh_capture_file(L"folders");
  std::size_t expected = 0;
  for (const FolderCase& row : cases) {
    SCOPED_TRACE(row.what);
    make_folder(row.folder);
    const std::wstring exe = row.folder + L"\\krovelin.exe";
    ASSERT_TRUE(CopyFileW(krovelin_exe().c_str(), exe.c_str(), FALSE)) << GetLastError();
    Program program(exe, start, capture_environment(file));
    ASSERT_NE(program.window(), nullptr);
    click(program.control(kOkButton));
    const std::vector<Capture> captures = captures_once_quiet(file, ++expected);
    ASSERT_EQ(captures.size(), expected);
    EXPECT_EQ(captures.back().current_directory, row.folder);
  }
}

// A CMD.exe beside the program (a downloads folder, say) is never the one that runs, not even
// when the program was started from that folder.
TEST(Link, CmdBesideProgramIsNotRun) {
  const std::wstring folder = scratch_folder(L"planted");
  const std::wstring exe = folder + L"\\krovelin.exe";
  ASSERT_TRUE(CopyFileW(krovelin_exe().c_str(), exe.c_str(), FALSE));
  // The prefix's cmd.exe is the recording stand-in, so the planted copy would record its own path.
  const std::wstring planted = folder + L"\\CMD.exe";
  ASSERT_TRUE(CopyFileW(system_command_processor().c_str(), planted.c_str(), FALSE));
  const std::wstring file = fresh_capture_file(L"planted");
  Program program(exe, folder, capture_environment(file));
  ASSERT_NE(program.window(), nullptr);
  click(program.control(kOkButton));
  const std::vector<Capture> captures = captures_once_quiet(file, 1);
  ASSERT_EQ(captures.size(), 1u);
  EXPECT_TRUE(same_text_ignoring_case(captures[0].module, system_command_processor()))
      << utf8(captures[0].module);
  EXPECT_EQ(captures[0].current_directory, folder);
}

// Enter in either box starts nothing; each click on 确定 starts one command processor, in order.
TEST(Link, EachClickStartsOneAndEnterNone) {
  const std::wstring file = fresh_capture_file(L"clicks");
  Program program(krovelin_exe(), L"", capture_environment(file));
  ASSERT_NE(program.window(), nullptr);
  HWND link_edit = program.control(kLinkEdit);
  HWND target_edit = program.control(kTargetEdit);
  enter_path(link_edit, L"D:\\enter", false);
  press(VK_RETURN);
  enter_path(target_edit, L"E:\\enter", false);
  press(VK_RETURN);
  enter_path(link_edit, L"D:\\twice", false);
  click(program.control(kOkButton));
  click(program.control(kOkButton));
  // A last, different click: once it shows, everything typed and clicked before is handled.
  enter_path(link_edit, L"D:\\last", false);
  click(program.control(kOkButton));
  wait_until([&] {
    const std::vector<Capture> seen = read_captures(file);
    return !seen.empty() && seen.back().command_line.find(L"D:\\last") != std::wstring::npos;
  });
  const std::vector<Capture> captures = captures_once_quiet(file, 3);
  std::vector<std::wstring> lines;
  for (const Capture& capture : captures) lines.push_back(capture.command_line);
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"CMD /k MKLINK /d /j D:\\twice E:\\enter",
                                              L"CMD /k MKLINK /d /j D:\\twice E:\\enter",
                                              L"CMD /k MKLINK /d /j D:\\last E:\\enter"}));
}

namespace {

std::vector<HWND> visible_children(HWND parent, const wchar_t* window_class) {
  struct Search {
    HWND parent;
    const wchar_t* window_class;
    std::vector<HWND> found;
  } search{parent, window_class, {}};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        if (GetParent(child) == s.parent && IsWindowVisible(child) &&
            same_text_ignoring_case(class_name(child), s.window_class))
          s.found.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool inside(const RECT& rect, POINT point) { return PtInRect(&rect, point) != FALSE; }

}  // namespace

// 关于 shows the maker's note with one OK button and no icon; while it is up the main window takes
// no input, and once it is closed the window works on.
TEST(Link, AboutBoxHoldsWindowUntilClosed) {
  const std::wstring file = fresh_capture_file(L"about");
  Program program(krovelin_exe(), L"", capture_environment(file));
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  click(program.control(kAboutButton));
  std::vector<HWND> boxes;
  ASSERT_TRUE(wait_until([&] { return !(boxes = top_windows(program.pid(), L"#32770")).empty(); }));
  ASSERT_EQ(boxes.size(), 1u);
  HWND box = boxes[0];
  EXPECT_EQ(window_text(box), L"信息：");
  EXPECT_EQ(message_box_text(box), L"Tamsel制作");
  for (HWND picture : visible_children(box, L"Static")) {
    if (GetWindowLongW(picture, GWL_STYLE) & SS_ICON) {
      EXPECT_EQ(SendMessageW(picture, STM_GETICON, 0, 0), 0) << "the box shows an icon";
    }
  }
  const std::vector<HWND> buttons = visible_children(box, L"Button");
  ASSERT_EQ(buttons.size(), 1u);
  EXPECT_EQ(GetDlgCtrlID(buttons[0]), IDOK);
  EXPECT_FALSE(IsWindowEnabled(window));

  // 确定 lies outside the box, so a click there reaches the main window if anything does.
  HWND ok = program.control(kOkButton);
  const RECT ok_rect = window_rect(ok);
  const POINT ok_centre{(ok_rect.left + ok_rect.right) / 2, (ok_rect.top + ok_rect.bottom) / 2};
  ASSERT_FALSE(inside(window_rect(box), ok_centre));
  click(ok);
  program.settle();
  EXPECT_TRUE(IsWindowVisible(box));

  click(buttons[0]);
  ASSERT_TRUE(wait_until([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
  EXPECT_TRUE(wait_until([&] { return IsWindowEnabled(window) != FALSE; }));

  // Text typed after the box is gone marks the one start that may happen; a start from the click
  // made behind the box would carry the untouched note.
  enter_path(program.control(kLinkEdit), L"D:\\after", false);
  click(ok);
  wait_until([&] { return !read_captures(file).empty(); });
  const std::vector<Capture> captures = captures_once_quiet(file, 1);
  ASSERT_EQ(captures.size(), 1u);
  EXPECT_EQ(captures[0].command_line, L"CMD /k MKLINK /d /j D:\\after ");
}

namespace {

// Puts Wine's own command processor in place of the recording stand-in for as long as it lives.
// An override passed to krovelin in its environment block cannot do this: Wine 8 reads
// WINEDLLOVERRIDES from the Unix environment, which a child inherits from its parent's Unix
// environment and not from the block, so the stand-in would still run.
class BuiltinCommandProcessor {
 public:
  BuiltinCommandProcessor() {
    std::wstring dll_folder = environment(L"WINEDLLDIR0");
    if (dll_folder.rfind(L"\\??\\", 0) == 0) dll_folder.erase(0, 4);
    const std::wstring builtin = dll_folder + L"\\x86_64-windows\\cmd.exe";
    swapped_ = MoveFileExW(system_.c_str(), aside_.c_str(), MOVEFILE_REPLACE_EXISTING) &&
               CopyFileW(builtin.c_str(), system_.c_str(), FALSE);
  }
  ~BuiltinCommandProcessor() {
    DeleteFileW(system_.c_str());
    MoveFileExW(aside_.c_str(), system_.c_str(), MOVEFILE_REPLACE_EXISTING);
  }
  BuiltinCommandProcessor(const BuiltinCommandProcessor&) = delete;
  BuiltinCommandProcessor& operator=(const BuiltinCommandProcessor&) = delete;
  bool swapped() const { return swapped_; }

 private:
  std::wstring system_ = system_command_processor();
  std::wstring aside_ = system_ + L".stand-in";
  bool swapped_ = false;
};

// Everything a console shows, from its first line to the cursor's line.
std::wstring console_text(DWORD pid) {
  std::wstring text;
  if (!AttachConsole(pid)) return text;
  HANDLE out = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  CONSOLE_SCREEN_BUFFER_INFO info{};
  if (out != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(out, &info)) {
    const int width = info.dwSize.X;
    for (SHORT y = 0; y <= info.dwCursorPosition.Y; ++y) {
      std::wstring line(static_cast<std::size_t>(width), L' ');
      DWORD got = 0;
      ReadConsoleOutputCharacterW(out, line.data(), static_cast<DWORD>(width), {0, y}, &got);
      line.resize(line.find_last_not_of(L' ') + 1);
      text += line + L"\n";
    }
  }
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  // Detached at once: a console closed while the driver is attached would end the driver too.
  FreeConsole();
  return text;
}

// The processes this test made beside krovelin, ended if the test leaves them behind.
struct Leftovers {
  std::vector<DWORD> pids;
  ~Leftovers() {
    for (DWORD pid : pids) {
      if (HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, 5000);
        CloseHandle(process);
      }
    }
  }
};

}  // namespace

// With Wine's real command processor behind 确定, MKLINK runs and the console stays open at the
// prompt (/k) in krovelin's folder until the person closes it; closing it leaves nothing behind.
TEST(Link, RealCommandProcessorKeepsItsConsoleOpen) {
  const BuiltinCommandProcessor builtin;
  ASSERT_TRUE(builtin.swapped());
  // Wine attaches a GUI program started by a console program to that program's console, which
  // Windows never does; krovelin and its command processor would then share the driver's
  // console, which nobody types into. Without one, they meet the console a person meets.
  FreeConsole();

  const std::wstring folder = scratch_folder(L"console");
  make_folder(folder + L"\\data");
  const std::wstring link = folder + L"\\link";
  const std::wstring file = fresh_capture_file(L"console");
  Leftovers leftovers;
  Program program(krovelin_exe(), L"", capture_environment(file));
  ASSERT_NE(program.window(), nullptr);
  enter_path(program.control(kLinkEdit), link, false);
  enter_path(program.control(kTargetEdit), folder + L"\\data", false);
  click(program.control(kOkButton));

  DWORD cmd = 0;
  DWORD host = 0;
  HWND console = nullptr;
  const bool appeared = wait_until([&] {
    for (const ProcessEntry& entry : processes()) {
      if (entry.parent == program.pid() && same_text_ignoring_case(entry.exe, L"cmd.exe"))
        cmd = entry.pid;
    }
    for (const ProcessEntry& entry : processes()) {
      if (cmd && entry.parent == cmd) host = entry.pid;
    }
    if (!host) return false;
    const std::vector<HWND> windows = top_windows(host);
    console = windows.empty() ? nullptr : windows.front();
    return console != nullptr;
  });
  if (cmd) leftovers.pids.push_back(cmd);
  if (host) leftovers.pids.push_back(host);
  ASSERT_TRUE(appeared) << "no console window";
  EXPECT_NE(host, program.pid());
  EXPECT_NE(host, GetCurrentProcessId());
  EXPECT_EQ(class_name(console), L"WineConsoleClass");

  // MKLINK names the link in what it prints (Wine's cannot make a junction); then the prompt
  // waits in krovelin's folder.
  const std::wstring exe = krovelin_exe();
  const std::wstring prompt = exe.substr(0, exe.rfind(L'\\')) + L">";
  std::wstring text;
  EXPECT_TRUE(wait_until([&] {
    text = console_text(cmd);
    return text.find(link) != std::wstring::npos && text.size() > prompt.size() + 1 &&
           text.compare(text.size() - prompt.size() - 1, prompt.size(), prompt) == 0;
  })) << utf8(text);

  HANDLE cmd_process = OpenProcess(SYNCHRONIZE, FALSE, cmd);
  ASSERT_NE(cmd_process, nullptr);
  EXPECT_EQ(WaitForSingleObject(cmd_process, 2000), static_cast<DWORD>(WAIT_TIMEOUT))
      << "the command processor ended by itself";
  EXPECT_TRUE(IsWindow(console) && IsWindowVisible(console));
  EXPECT_TRUE(read_captures(file).empty()) << "the stand-in ran instead of Wine's cmd";

  PostMessageW(console, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(cmd_process, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(cmd_process);
  EXPECT_TRUE(wait_until([&] {
    for (const ProcessEntry& entry : processes())
      if (entry.pid == cmd || entry.pid == host) return false;
    return true;
  })) << "the command processor or its console outlived the console window";
}
