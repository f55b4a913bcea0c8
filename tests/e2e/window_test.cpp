// The main window as a person meets it: its place, frame, controls, focus and keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwctype>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "driver.h"

using namespace e2e;
using namespace std::chrono_literals;

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 479;
constexpr wchar_t kMainClass[] = L"KrovelinMainWindow";
constexpr wchar_t kLinkEditText[] = L"文件夹必须不存在，稍后自动创建";

// One control as the form lays it out. A height of 0 is not checked: a drop-down combo box's own
// window is only as tall as its selection field, whatever height it was made with.
struct ControlRow {
  ControlIndex index;
  const wchar_t* window_class;
  int left, top, width, height;
  const wchar_t* text;  // null: the value is no fixed text (drive and directory boxes)
  bool tab_stop;
  DWORD type_mask, type;  // style & type_mask == type
  DWORD style_set;        // all of these set
  DWORD style_clear;      // none of these set
  DWORD ex_style_set;
};

constexpr DWORD kEditType = ES_CENTER | ES_RIGHT;  // ES_LEFT is these bits cleared
constexpr DWORD kEditForbidden = ES_MULTILINE | ES_PASSWORD | ES_READONLY | ES_NUMBER;
constexpr DWORD kComboType = 0x3;  // CBS_SIMPLE, CBS_DROPDOWN or CBS_DROPDOWNLIST
// WS_VSCROLL is asked for as well, but a combo box takes it off its own style when it is made
// (Wine's then also builds the dropped list without it), so it cannot be read back here.
constexpr DWORD kComboStyle = CBS_AUTOHSCROLL;
constexpr DWORD kTreeStyle = TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS;
constexpr DWORD kTreeForbidden = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS;
constexpr DWORD kButtonStyle = BS_CENTER | BS_VCENTER | BS_MULTILINE;

const ControlRow kRows[] = {
    {kLinkLabel, L"KrovelinLabel", 16, 24, 96, 32, L"欲被链接的目录：", false, 0, 0, 0, 0, 0},
    {kLinkEdit, L"Edit", 112, 24, 320, 30, kLinkEditText, true, kEditType, ES_LEFT,
     ES_AUTOHSCROLL, kEditForbidden, WS_EX_CLIENTEDGE},
    {kLinkDriveBox, L"ComboBox", 112, 64, 320, 0, nullptr, true, kComboType, CBS_DROPDOWNLIST,
     kComboStyle, 0, 0},
    {kLinkDirectoryBox, L"SysTreeView32", 112, 96, 320, 88, nullptr, true, 0, 0, kTreeStyle,
     kTreeForbidden, WS_EX_CLIENTEDGE},
    {kTargetDriveBox, L"ComboBox", 112, 264, 320, 0, nullptr, true, kComboType, CBS_DROPDOWNLIST,
     kComboStyle, 0, 0},
    {kTargetDirectoryBox, L"SysTreeView32", 112, 296, 320, 88, nullptr, true, 0, 0, kTreeStyle,
     kTreeForbidden, WS_EX_CLIENTEDGE},
    {kTargetLabel, L"KrovelinLabel", 16, 224, 96, 32, L"数据的真实目录：", false, 0, 0, 0, 0, 0},
    {kTargetEdit, L"Edit", 112, 224, 320, 30, L"", true, kEditType, ES_LEFT, ES_AUTOHSCROLL,
     kEditForbidden, WS_EX_CLIENTEDGE},
    {kOkButton, L"Button", 288, 400, 80, 32, L"确定", true, BS_TYPEMASK, BS_PUSHBUTTON,
     kButtonStyle, 0, 0},
    {kAboutButton, L"Button", 144, 400, 80, 32, L"关于", true, BS_TYPEMASK, BS_PUSHBUTTON,
     kButtonStyle, 0, 0},
    {kNoteLabel, L"KrovelinLabel", 16, 56, 80, 24, L"（新的文件夹）", false, 0, 0, 0, 0, 0},
};

// A control's rectangle in its parent's client coordinates.
RECT place_in_parent(HWND control) {
  RECT rect = window_rect(control);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::wstring lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), towlower);
  return text;
}

bool has_focus(Program& program, int index) {
  HWND control = program.control(index);
  return wait_until([&] { return focused_control(program.window()) == control; }, 3s);
}

// The close button is the last one at the title bar's right end.
POINT close_button(HWND window) {
  const RECT outer = window_rect(window);
  const POINT title = title_bar(window);
  return {outer.right - GetSystemMetrics(SM_CXFIXEDFRAME) - GetSystemMetrics(SM_CXSIZE) / 2 - 1,
          title.y};
}

std::set<HWND> visible_top_windows() {
  std::set<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(data)->insert(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

void press_tabs(int count) {
  for (int i = 0; i < count; ++i) press(VK_TAB);
}

}  // namespace

TEST(Window, OpensCentredWithItsFrame) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(class_name(window), kMainClass);
  EXPECT_EQ(window_text(window), L"Krovelin");

  const RECT rect = window_rect(window);
  EXPECT_EQ(rect.right - rect.left, kWidth);
  EXPECT_EQ(rect.bottom - rect.top, kHeight);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);

  const DWORD style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
  constexpr DWORD kWanted = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | WS_VISIBLE;
  EXPECT_EQ(style & kWanted, kWanted) << std::hex << style;
  constexpr DWORD kForbidden = WS_POPUP | WS_CHILD | WS_THICKFRAME | WS_MINIMIZEBOX |
                               WS_MAXIMIZEBOX | WS_DISABLED | WS_VSCROLL | WS_HSCROLL |
                               WS_MINIMIZE | WS_MAXIMIZE;
  EXPECT_EQ(style & kForbidden, 0u) << std::hex << style;
  // Wine gives every captioned window the raised edge of its own; nothing else may be there.
  const DWORD ex_style = static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE));
  EXPECT_EQ(ex_style & ~static_cast<DWORD>(WS_EX_WINDOWEDGE), 0u) << std::hex << ex_style;
  // An unowned window that is no tool window gets a taskbar button.
  EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr);
  EXPECT_EQ(GetAncestor(window, GA_PARENT), GetDesktopWindow());

  // The client area where no control stands shows the face colour of buttons.
  HDC screen = GetDC(nullptr);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  for (POINT point : {POINT{470, 150}, POINT{60, 150}, POINT{8, 440}, POINT{480, 420}}) {
    SCOPED_TRACE(testing::Message() << "client point " << point.x << "," << point.y);
    ClientToScreen(window, &point);
    EXPECT_EQ(GetPixel(screen, point.x, point.y), face);
  }
  ReleaseDC(nullptr, screen);
}

TEST(Window, ControlsStandWhereTheFormPutsThem) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  for (const ControlRow& row : kRows) {
    SCOPED_TRACE(testing::Message() << "control " << row.index);
    HWND control = program.control(row.index);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), window);
    EXPECT_EQ(lower(class_name(control)), lower(row.window_class));

    const RECT place = place_in_parent(control);
    EXPECT_EQ(place.left, row.left);
    EXPECT_EQ(place.top, row.top);
    EXPECT_EQ(place.right - place.left, row.width);
    if (row.height) {
      EXPECT_EQ(place.bottom - place.top, row.height);
    }

    const DWORD style = static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE));
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE),
              static_cast<DWORD>(WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE))
        << std::hex << style;
    EXPECT_EQ((style & WS_TABSTOP) != 0, row.tab_stop) << std::hex << style;
    EXPECT_EQ(style & WS_DISABLED, 0u) << std::hex << style;
    EXPECT_TRUE(IsWindowVisible(control));
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(style & row.type_mask, row.type) << std::hex << style;
    EXPECT_EQ(style & row.style_set, row.style_set) << std::hex << style;
    EXPECT_EQ(style & row.style_clear, 0u) << std::hex << style;
    const DWORD ex_style = static_cast<DWORD>(GetWindowLongW(control, GWL_EXSTYLE));
    EXPECT_EQ(ex_style & row.ex_style_set, row.ex_style_set) << std::hex << ex_style;
  }
}

TEST(Window, ControlsAreStackedLastMadeOnTop) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  std::vector<int> ids;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    ids.push_back(GetDlgCtrlID(child));
  std::vector<int> expected;
  for (int index = kNoteLabel; index >= kLinkLabel; --index) expected.push_back(101 + index);
  EXPECT_EQ(ids, expected);
}

// Run under zh_CN.UTF-8 and under C.UTF-8: the texts are wide at the system's edge whatever the
// system's code page.
TEST(Window, TextsReadBackInFull) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window_text(window), L"Krovelin");
  for (const ControlRow& row : kRows) {
    if (!row.text) continue;
    SCOPED_TRACE(testing::Message() << "control " << row.index);
    EXPECT_EQ(window_text(program.control(row.index)), row.text);
  }
}

TEST(Window, StartsInTheLinkBoxWithNothingSelected) {
  Program program(krovelin_exe());
  ASSERT_NE(program.window(), nullptr);
  EXPECT_TRUE(has_focus(program, kLinkEdit));
  const auto selection =
      static_cast<DWORD>(SendMessageW(program.control(kLinkEdit), EM_GETSEL, 0, 0));
  EXPECT_EQ(LOWORD(selection), 0);
  EXPECT_EQ(HIWORD(selection), 0);
}

TEST(Window, TabAndShiftTabGoRoundTheTabStops) {
  Program program(krovelin_exe());
  ASSERT_NE(program.window(), nullptr);
  ASSERT_TRUE(has_focus(program, kLinkEdit));

  struct Ring {
    const char* keys;
    bool shift;
    std::vector<int> stops;  // the focus after each press, from the link box round to it again
  };
  const Ring rings[] = {
      {"Tab", false,
       {kLinkDriveBox, kLinkDirectoryBox, kTargetDriveBox, kTargetDirectoryBox, kTargetEdit,
        kOkButton, kAboutButton, kLinkEdit}},
      {"Shift+Tab", true,
       {kAboutButton, kOkButton, kTargetEdit, kTargetDirectoryBox, kTargetDriveBox,
        kLinkDirectoryBox, kLinkDriveBox, kLinkEdit}},
  };
  for (const Ring& ring : rings) {
    for (std::size_t press_number = 1; press_number <= ring.stops.size(); ++press_number) {
      SCOPED_TRACE(testing::Message() << ring.keys << " press " << press_number);
      if (ring.shift) {
        press(VK_TAB, {VK_SHIFT});
      } else {
        press(VK_TAB);
      }
      EXPECT_TRUE(has_focus(program, ring.stops[press_number - 1]));
    }
  }

  // Tab moved on from both edit boxes twice over and typed nothing into either.
  EXPECT_EQ(window_text(program.control(kLinkEdit)), kLinkEditText);
  EXPECT_EQ(window_text(program.control(kTargetEdit)), L"");
}

TEST(Window, EscAltF4AndTheCloseButtonEndTheProgram) {
  struct Case {
    const char* name;
    int tabs;  // from the link box, where the focus starts
    std::function<void(HWND)> close;
  };
  const Case cases[] = {
      {"Esc in the link box", 0, [](HWND) { press(VK_ESCAPE); }},
      {"Esc in the link drive box", 1, [](HWND) { press(VK_ESCAPE); }},
      {"Esc in the target directory box", 4, [](HWND) { press(VK_ESCAPE); }},
      {"Esc on the OK button", 6, [](HWND) { press(VK_ESCAPE); }},
      {"Alt+F4 in the target box", 5, [](HWND) { press(VK_F4, {VK_MENU}); }},
      {"the close button", 0, [](HWND window) { click_at(close_button(window)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Program program(krovelin_exe());
    HWND window = program.window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(has_focus(program, kLinkEdit));
    press_tabs(c.tabs);
    program.settle();
    c.close(window);
    EXPECT_EQ(program.wait_exit(10s), 0u);
  }
}

TEST(Window, ShiftEscKeepsTheWindowOpen) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(has_focus(program, kLinkEdit));
  press(VK_ESCAPE, {VK_SHIFT});
  program.settle();
  EXPECT_EQ(program.wait_exit(500ms), static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_TRUE(IsWindowVisible(window));
  // The window still takes keys: a plain Esc right after closes it.
  press(VK_ESCAPE);
  EXPECT_EQ(program.wait_exit(10s), 0u);
}

TEST(Window, EnterInAnEditBoxStartsNothing) {
  const std::wstring captures = fresh_capture_file(L"window-enter");
  Program program(krovelin_exe(), L"", capture_environment(captures));
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(has_focus(program, kLinkEdit));
  press(VK_RETURN);
  press_tabs(5);
  ASSERT_TRUE(has_focus(program, kTargetEdit));
  press(VK_RETURN);
  program.settle();
  pause(500ms);  // room for a command processor that should not start
  EXPECT_TRUE(read_captures(captures).empty());
  EXPECT_TRUE(program.running());
  EXPECT_EQ(top_windows(program.pid()), std::vector<HWND>{window});
  EXPECT_EQ(window_text(program.control(kLinkEdit)), kLinkEditText);
  EXPECT_EQ(window_text(program.control(kTargetEdit)), L"");

  // The OK button does start one in the same set-up, so the empty record above means something.
  click(program.control(kOkButton));
  EXPECT_TRUE(wait_until([&] { return read_captures(captures).size() == 1; }));
}

TEST(Window, F1OpensNothing) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(has_focus(program, kLinkEdit));
  const std::set<HWND> before = visible_top_windows();
  press(VK_F1);
  program.settle();
  pause(500ms);  // room for a help window that should not appear
  program.settle();
  EXPECT_EQ(visible_top_windows(), before);
  EXPECT_TRUE(program.running());
  EXPECT_TRUE(has_focus(program, kLinkEdit));
}

TEST(Window, ClickOnALabelLeavesTheFocus) {
  Program program(krovelin_exe());
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  click(program.control(kTargetEdit));
  ASSERT_TRUE(has_focus(program, kTargetEdit));
  for (int label : {kLinkLabel, kTargetLabel, kNoteLabel}) {
    SCOPED_TRACE(testing::Message() << "label " << label);
    click(program.control(label));
    program.settle();
    EXPECT_TRUE(has_focus(program, kTargetEdit));
  }
  EXPECT_EQ(top_windows(program.pid()), std::vector<HWND>{window});
}

TEST(Window, FocusComesBackAfterAnotherWindowWasActive) {
  Program first(krovelin_exe());
  HWND window = first.window();
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(has_focus(first, kLinkEdit));

  Program second(krovelin_exe());
  HWND other = second.window();
  ASSERT_NE(other, nullptr);
  // Out of the way of the first window's title bar, which the second one would cover.
  const RECT first_rect = window_rect(window);
  SetWindowPos(other, nullptr, first_rect.right - 100, first_rect.bottom - 100, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  second.settle();

  struct Case {
    int tabs;  // from where the previous case left the focus
    int focused;
  };
  for (const Case c : {Case{5, kTargetEdit}, Case{1, kOkButton}}) {
    SCOPED_TRACE(testing::Message() << "focused control " << c.focused);
    click_at(title_bar(window));
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == window; }));
    press_tabs(c.tabs);
    ASSERT_TRUE(has_focus(first, c.focused));

    click_at(title_bar(other));
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == other; }));
    second.settle();
    click_at(title_bar(window));
    ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == window; }));
    EXPECT_TRUE(has_focus(first, c.focused));
  }
}

TEST(Window, TwoCopiesRunSideBySide) {
  Program first(krovelin_exe());
  HWND one = first.window();
  ASSERT_NE(one, nullptr);
  Program second(krovelin_exe());
  HWND two = second.window();
  ASSERT_NE(two, nullptr);
  EXPECT_NE(one, two);
  EXPECT_EQ(top_windows(first.pid(), kMainClass), std::vector<HWND>{one});
  EXPECT_EQ(top_windows(second.pid(), kMainClass), std::vector<HWND>{two});
  EXPECT_TRUE(first.running());
  EXPECT_EQ(window_text(second.control(kLinkEdit)), kLinkEditText);

  // The second one, in front, closes alone.
  ASSERT_TRUE(wait_until([&] { return GetForegroundWindow() == two; }));
  press(VK_ESCAPE);
  EXPECT_EQ(second.wait_exit(10s), 0u);
  first.settle();
  EXPECT_TRUE(first.running());
  EXPECT_TRUE(IsWindowVisible(one));
}

TEST(Window, ArgumentsChangeNothing) {
  const std::wstring captures = fresh_capture_file(L"window-arguments");
  std::vector<std::wstring> changes = capture_environment(captures);
  Program program(krovelin_exe(), L"", changes, LR"(C:\some\folder "two words" /k /? -x)");
  HWND window = program.window();
  ASSERT_NE(window, nullptr);
  const RECT rect = window_rect(window);
  EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
  EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);
  EXPECT_EQ(rect.right - rect.left, kWidth);
  EXPECT_EQ(window_text(window), L"Krovelin");
  for (const ControlRow& row : kRows) {
    if (!row.text) continue;
    SCOPED_TRACE(testing::Message() << "control " << row.index);
    EXPECT_EQ(window_text(program.control(row.index)), row.text);
  }
  EXPECT_TRUE(has_focus(program, kLinkEdit));
  pause(300ms);
  EXPECT_TRUE(read_captures(captures).empty());
  press(VK_ESCAPE);
  EXPECT_EQ(program.wait_exit(10s), 0u);
}

// WM_GETICON answers 0 across processes under Wine, so the icon is read from the exe itself.
namespace {

struct ModuleResources {
  explicit ModuleResources(const std::wstring& file)
      : module(LoadLibraryExW(file.c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~ModuleResources() {
    if (module) FreeLibrary(module);
  }
  std::string bytes(const wchar_t* name, const wchar_t* type) const {
    HRSRC found = FindResourceW(module, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(data), SizeofResource(module, found));
  }
  HMODULE module;
};

#pragma pack(push, 2)
struct IconGroupHeader {
  WORD reserved, type, count;
};
struct IconGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bit_count;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

// The value of `attribute` inside the first element that holds `marker`.
std::string attribute_near(const std::string& xml, const std::string& marker,
                           const std::string& attribute) {
  const std::size_t at = xml.find(marker);
  if (at == std::string::npos) return {};
  const std::size_t open = xml.rfind('<', at);
  const std::size_t close = xml.find('>', at);
  const std::string element = xml.substr(open, close - open);
  const std::size_t value = element.find(attribute + "=\"");
  if (value == std::string::npos) return {};
  const std::size_t start = value + attribute.size() + 2;
  return element.substr(start, element.find('"', start) - start);
}

}  // namespace

TEST(Window, ExeCarriesIconVersionAndManifest) {
  ModuleResources exe(krovelin_exe());
  ASSERT_NE(exe.module, nullptr);

  const std::string group = exe.bytes(L"DEFAULT_ICON", MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */);
  ASSERT_GE(group.size(), sizeof(IconGroupHeader));
  IconGroupHeader header;
  std::memcpy(&header, group.data(), sizeof header);
  EXPECT_EQ(header.type, 1);
  ASSERT_EQ(header.count, 3);
  ASSERT_GE(group.size(), sizeof header + 3 * sizeof(IconGroupEntry));
  std::vector<int> sizes;
  for (int i = 0; i < 3; ++i) {
    IconGroupEntry entry;
    std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
    SCOPED_TRACE(testing::Message() << "image " << i << ", " << int{entry.width} << " px");
    sizes.push_back(entry.width);
    EXPECT_EQ(entry.height, entry.width);
    EXPECT_EQ(entry.bit_count, 4);
    // The image itself: a bitmap header of the same size (twice as tall: colour and mask) in 4 bits.
    const std::string image = exe.bytes(MAKEINTRESOURCEW(entry.id), MAKEINTRESOURCEW(3));
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    BITMAPINFOHEADER bitmap;
    std::memcpy(&bitmap, image.data(), sizeof bitmap);
    EXPECT_EQ(bitmap.biWidth, entry.width);
    EXPECT_EQ(bitmap.biHeight, 2 * entry.width);
    EXPECT_EQ(bitmap.biBitCount, 4);
  }
  std::sort(sizes.begin(), sizes.end());
  EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48}));

  const std::string version = exe.bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));
  VS_FIXEDFILEINFO fixed{};
  const char signature[] = {'\xBD', '\x04', '\xEF', '\xFE'};  // 0xFEEF04BD, little-endian
  const std::size_t at = version.find(std::string(signature, 4));
  ASSERT_NE(at, std::string::npos);
  ASSERT_GE(version.size(), at + sizeof fixed);
  std::memcpy(&fixed, version.data() + at, sizeof fixed);
  EXPECT_EQ(fixed.dwFileVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed.dwFileVersionLS, 0u);
  EXPECT_EQ(fixed.dwProductVersionMS, MAKELONG(0, 1));
  EXPECT_EQ(fixed.dwProductVersionLS, 0u);

  const std::string manifest = exe.bytes(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find(">UTF-8</activeCodePage>"), std::string::npos) << manifest;
  EXPECT_EQ(attribute_near(manifest, "\"Microsoft.Windows.Common-Controls\"", "version"),
            "6.0.0.0")
      << manifest;
}
