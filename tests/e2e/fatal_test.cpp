// The fatal runtime error as a person meets it: a block the program cannot get ends it through one
// error box, nothing else runs while that box is up, and closing it ends the process with -1.
// The program under test is the build whose heap fails on demand (KROVELIN_FAULTS_EXE).
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "driver.h"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

constexpr wchar_t kFatalTitle[] = L"错误";
constexpr wchar_t kAboutTitle[] = L"信息：";
constexpr DWORD kFatalExitCode = 0xFFFFFFFF;  // -1
constexpr wchar_t kLinkEditText[] = L"文件夹必须不存在，稍后自动创建";  // 15 characters

std::wstring fatal_text(const std::wstring& message) {
  return L"运行时出错!\r\n\r\n错误信息：" + message + L"\r\n";
}

std::wstring allocation_message(std::size_t size) {
  return L"分配 " + std::to_wstring(size) + L" 字节内存失败!";
}

// The box's icon: its static control with the icon style.
HWND icon_of(HWND box) {
  HWND icon = nullptr;
  EnumChildWindows(
      box,
      [](HWND child, LPARAM data) -> BOOL {
        if (class_name(child) == L"Static" &&
            (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
          *reinterpret_cast<HWND*>(data) = child;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&icon));
  return icon;
}

// What a window shows on the screen, pixel by pixel.
std::vector<DWORD> screen_pixels(HWND window) {
  const RECT rect = window_rect(window);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  std::vector<DWORD> pixels(static_cast<std::size_t>(width) * height);
  if (pixels.empty()) return pixels;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  GdiFlush();
  std::memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// A window's own thread has painted it once it answers a sent message after the paint.
void let_paint(HWND window) {
  DWORD_PTR result = 0;
  for (int i = 0; i < 2; ++i) {
    pause(100ms);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  }
}

// The error icon as this system draws it in a message box: the driver shows one of its own.
std::vector<DWORD> reference_error_icon() {
  constexpr wchar_t kTitle[] = L"krovelin-e2e reference";
  std::thread shower([&] { MessageBoxW(nullptr, L"reference", kTitle, MB_OK | MB_ICONERROR); });
  HWND box = wait_for_message_box(GetCurrentProcessId(), kTitle);
  std::vector<DWORD> pixels;
  if (box) {
    let_paint(box);
    if (HWND icon = icon_of(box)) pixels = screen_pixels(icon);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  shower.join();
  return pixels;
}

// Any window of the program's main class, hidden ones included.
bool has_main_window(DWORD pid) {
  struct Search {
    DWORD pid;
    bool found;
  } search{pid, false};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s.pid && class_name(window) == L"KrovelinMainWindow") s.found = true;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace

// Reading the link box makes two blocks, both from the program heap: a wide copy of the window
// text, a std::wstring of length + 1 characters (its buffer holds one more for the terminator:
// (length + 2) * 2 bytes), then the UTF-8 text in a block of UTF-8 length + 1 bytes. With 1,000
// Chinese characters in the box those are 2,004 and 3,001 bytes, so a limit one byte below either
// makes exactly that block fail, and the box names its size.
TEST(Fatal, FailedAllocationShowsTheErrorAndStopsEverything) {
  constexpr std::size_t kLength = 1000;
  std::wstring pasted;
  while (pasted.size() < kLength - std::wstring_view(kLinkEditText).size()) pasted += L"链";

  struct Case {
    const char* name;
    std::size_t fail_above;
    std::size_t failing_size;
    bool close_with_enter;
  };
  const Case cases[] = {
      {"the UTF-8 text fails", 3000, 3 * kLength + 1, false},
      {"the wide copy fails", 2003, (kLength + 2) * 2, true},
  };
  std::vector<DWORD> fatal_icon;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring captures = fresh_capture_file(L"fatal");
    std::vector<std::wstring> changes = capture_environment(captures);
    changes.push_back(L"KROVELIN_FAIL_ABOVE=" + std::to_wstring(c.fail_above));
    Program program(krovelin_faults_exe(), L"", changes);
    HWND window = program.window();
    ASSERT_NE(window, nullptr);

    // Before the failure both buttons do their work, so their silence later means something.
    click(program.control(kAboutButton));
    HWND about = wait_for_message_box(program.pid(), kAboutTitle);
    ASSERT_NE(about, nullptr);
    press(VK_RETURN);
    ASSERT_TRUE(wait_until([&] { return !IsWindow(about); }));
    click(program.control(kOkButton));
    ASSERT_TRUE(wait_until([&] { return read_captures(captures).size() == 1; }));

    HWND link_edit = program.control(kLinkEdit);
    click(link_edit);
    paste_text(pasted);
    ASSERT_TRUE(wait_until([&] { return window_text(link_edit).size() == kLength; }));
    click(program.control(kOkButton));

    HWND box = wait_for_message_box(program.pid(), kFatalTitle);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(class_name(box), kMessageBoxClass);
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    // Wine's box keeps the text whole, the closing \r\n included.
    EXPECT_EQ(message_box_text(box), fatal_text(allocation_message(c.failing_size)));
    HWND icon = icon_of(box);
    ASSERT_NE(icon, nullptr);
    let_paint(box);
    fatal_icon = screen_pixels(icon);

    // The main window is not disabled by the box, yet no handler runs any more.
    EXPECT_TRUE(IsWindowEnabled(window));
    click(program.control(kAboutButton));
    click(program.control(kOkButton));
    program.settle();
    pause(500ms);  // room for a box or a command processor that should not come
    EXPECT_TRUE(message_boxes(program.pid(), kAboutTitle).empty());
    EXPECT_EQ(top_windows(program.pid(), kMessageBoxClass), std::vector<HWND>{box});
    EXPECT_EQ(read_captures(captures).size(), 1u);
    EXPECT_TRUE(program.running());

    // The clicks brought the main window over the box: move it aside by its title bar, as a
    // person would, then close the box.
    const POINT title = title_bar(window);
    drag(title, {title.x + 420, title.y});
    HWND ok = GetDlgItem(box, IDOK);
    ASSERT_NE(ok, nullptr);
    const RECT ok_rect = window_rect(ok);
    const POINT ok_centre{(ok_rect.left + ok_rect.right) / 2, (ok_rect.top + ok_rect.bottom) / 2};
    ASSERT_TRUE(wait_until([&] { return WindowFromPoint(ok_centre) == ok; }, 3s));
    if (c.close_with_enter) {
      const RECT box_rect = window_rect(box);
      click_at({(box_rect.left + ok_rect.left) / 2, (box_rect.top + ok_rect.top) / 2});
      ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == box; }, 3s));
      press(VK_RETURN);
    } else {
      click_at(ok_centre);
    }
    EXPECT_EQ(program.wait_exit(10s), kFatalExitCode);
    EXPECT_EQ(read_captures(captures).size(), 1u);
  }
  // The box's icon is the one an error box shows on this system.
  EXPECT_FALSE(fatal_icon.empty());
  EXPECT_TRUE(fatal_icon == reference_error_icon())
      << "the box shows another icon than MB_ICONERROR";
}

// With every block refused from the start the program fails while it starts up: the same box,
// naming the first block it asked for, and the main window never comes. Wine delivers no win
// events across processes, so the window's absence is watched for by looking from the start on.
TEST(Fatal, HeapRefusedFromTheStartEndsBeforeTheWindow) {
  Program program(krovelin_faults_exe(), L"", {L"KROVELIN_FAIL_AFTER=0"});
  HWND box = nullptr;
  bool main_window_seen = false;
  EXPECT_TRUE(wait_until([&] {
    main_window_seen = main_window_seen || has_main_window(program.pid());
    const std::vector<HWND> found = message_boxes(program.pid(), kFatalTitle);
    box = found.empty() ? nullptr : found.front();
    return box != nullptr || !program.running();
  }));
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  EXPECT_FALSE(main_window_seen);
  EXPECT_FALSE(has_main_window(program.pid()));

  // "运行时出错!\r\n\r\n错误信息：分配 <size> 字节内存失败!\r\n" with a size above 0.
  const std::wstring text = message_box_text(box);
  const std::wstring before = L"运行时出错!\r\n\r\n错误信息：分配 ";
  const std::wstring after = L" 字节内存失败!\r\n";
  ASSERT_GT(text.size(), before.size() + after.size()) << utf8(text);
  EXPECT_EQ(text.substr(0, before.size()), before) << utf8(text);
  EXPECT_EQ(text.substr(text.size() - after.size()), after) << utf8(text);
  const std::wstring digits =
      text.substr(before.size(), text.size() - before.size() - after.size());
  EXPECT_TRUE(!digits.empty() && digits.find_first_not_of(L"0123456789") == std::wstring::npos &&
              std::stoull(digits) > 0)
      << utf8(text);

  ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == box; }, 3s));
  press(VK_RETURN);
  EXPECT_EQ(program.wait_exit(10s), kFatalExitCode);
}
