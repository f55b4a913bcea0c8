// The floor the benchmarks measure krovelin.exe against: the least a program of the same
// toolchain does to show one window with empty controls of krovelin's five classes, and, when
// its tree view gets Enter, the least work that lists a folder's subfolders in it.
//
//   minimal.exe                            the window alone
//   minimal.exe append FOLDER              Enter: enumerate, sort once, append with redraw held
//   minimal.exe sorted-insert FOLDER       Enter: enumerate, one sorted insert (TVI_SORT) per node
// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>
// clang-format on

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kWindowClass[] = L"KrovelinBenchMinimal";
constexpr wchar_t kLabelClass[] = L"KrovelinBenchLabel";
constexpr int kTreeId = 104;

enum class Listing { none, append, sorted_insert };

Listing g_listing = Listing::none;
std::wstring g_folder;
bool g_listed = false;

std::vector<std::wstring> subfolders(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileExW((folder + L"\\*.*").c_str(), FindExInfoBasic, &found,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    if (!wcscmp(found.cFileName, L".") || !wcscmp(found.cFileName, L"..")) continue;
    names.emplace_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

void insert(HWND tree, const std::wstring& text, HTREEITEM after) {
  TVINSERTSTRUCTW item{};
  item.hParent = TVI_ROOT;
  item.hInsertAfter = after;
  item.item.mask = TVIF_TEXT;
  item.item.pszText = const_cast<wchar_t*>(text.c_str());
  SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void list(HWND tree) {
  std::vector<std::wstring> names = subfolders(g_folder);
  if (g_listing == Listing::append) {
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
      return StrCmpLogicalW(a.c_str(), b.c_str()) < 0;
    });
  }
  const HTREEITEM after = g_listing == Listing::append ? TVI_LAST : TVI_SORT;
  SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
  for (const std::wstring& name : names) insert(tree, name, after);
  SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
}

LRESULT CALLBACK label_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) return 1;
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
      if (header.idFrom == kTreeId && header.code == TVN_KEYDOWN &&
          reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_RETURN) {
        if (g_listing != Listing::none && !g_listed) {
          g_listed = true;
          list(header.hwndFrom);
        }
        return TRUE;
      }
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

bool register_class(const wchar_t* name, WNDPROC procedure, int background) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = background ? GetSysColorBrush(background) : nullptr;
  wc.lpszClassName = name;
  return RegisterClassExW(&wc) != 0;
}

void add_control(HWND parent, const wchar_t* window_class, DWORD style, DWORD ex_style, int id,
                 int left, int top, int width, int height) {
  CreateWindowExW(ex_style, window_class, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style,
                  left, top, width, height, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                  nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argv && argc >= 3) {
    if (!wcscmp(argv[1], L"append")) g_listing = Listing::append;
    if (!wcscmp(argv[1], L"sorted-insert")) g_listing = Listing::sorted_insert;
    g_folder = argv[2];
  }
  LocalFree(argv);

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  if (!register_class(kWindowClass, &window_procedure, COLOR_BTNFACE) ||
      !register_class(kLabelClass, &label_procedure, 0)) {
    return 1;
  }
  // krovelin's window size and place, so both sides paint the same area.
  const int width = 520, height = 479;
  HWND window = CreateWindowExW(
      0, kWindowClass, L"minimal", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
      (GetSystemMetrics(SM_CXSCREEN) - width) / 2, (GetSystemMetrics(SM_CYSCREEN) - height) / 2,
      width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return 1;
  add_control(window, kLabelClass, 0, 0, 101, 16, 24, 96, 32);
  add_control(window, L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 102, 112,
              24, 320, 30);
  add_control(window, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 103, 112, 64,
              320, 80);
  add_control(window, WC_TREEVIEWW, TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS | WS_TABSTOP,
              WS_EX_CLIENTEDGE, kTreeId, 112, 96, 320, 88);
  add_control(window, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, 109, 288, 400, 80, 32);
  ShowWindow(window, SW_SHOW);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
