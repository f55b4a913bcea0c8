#include "ui/main_window.h"

#include <utility>

#include "link/process_start.h"
#include "shell/shell.h"
#include "shell/wide.h"

namespace krovelin {
namespace {


bool register_main_class(WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kMainWindowClass, &wc)) return true;
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kMainWindowClass;
  return RegisterClassExW(&wc) != 0;
}

HICON load_icon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"DEFAULT_ICON", IMAGE_ICON,
                                       size, size, LR_SHARED));
}

}  // namespace

bool MainWindow::build() {
  if (!register_main_class(&MainWindow::procedure)) return false;
  const int width = kMainWindowSpec.width;
  const int height = kMainWindowSpec.height;
  const int left = centred(GetSystemMetrics(SM_CXSCREEN), width);
  const int top = centred(GetSystemMetrics(SM_CYSCREEN), height);
  window_ = CreateWindowExW(0, kMainWindowClass, widen(kMainWindowSpec.caption).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, left, top,
                            width, height, nullptr, nullptr, GetModuleHandleW(nullptr), this);
  if (!window_) return false;

  RECT outer;
  GetWindowRect(window_, &outer);
  if (outer.right - outer.left != width || outer.bottom - outer.top != height) {
    SetWindowPos(window_, nullptr, outer.left, outer.top, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(load_icon(32)));
  SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(load_icon(16)));
  SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font()), FALSE);

  for (std::size_t i = 0; i < kControls.size(); ++i) {
    controls_[i] = make_control(kControls[i], window_);
    if (!controls_[i]) {
      DestroyWindow(window_);
      return false;
    }
  }
  // The last control made goes on top; none overlaps another, so this only fixes the order.
  for (const auto& control : controls_) {
    SetWindowPos(control->window(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  for (const auto& control : controls_) ShowWindow(control->window(), SW_SHOWNA);
  return true;
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  return self->handle(message, wparam, lparam);
}

LRESULT MainWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_COMMAND:
      if (ControlView* control = control_by_id(LOWORD(wparam))) {
        if (reinterpret_cast<HWND>(lparam) == control->window()) control->on_command(HIWORD(wparam));
      }
      return 0;
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
      if (ControlView* control = control_by_id(static_cast<int>(header.idFrom))) {
        if (header.hwndFrom == control->window()) return control->on_notify(header);
      }
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      auto dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, RGB(0, 0, 0));
      SetBkColor(dc, RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    }
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(window_, focus)) remembered_focus_ = focus;
      }
      break;
    case WM_SETFOCUS:
      focus_first_or_remembered();
      return 0;
    case WM_NCDESTROY: {
      HWND window = std::exchange(window_, nullptr);
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      Shell& state = shell();
      state.window_loaded = false;
      if (state.loop_started) PostQuitMessage(0);
      return DefWindowProcW(window, message, wparam, lparam);
    }
  }
  return DefWindowProcW(window_, message, wparam, lparam);
}

bool MainWindow::take_key(const MSG& message) {
  if (message.message != WM_KEYDOWN || !window_) return false;
  if (message.hwnd != window_ && !IsChild(window_, message.hwnd)) return false;
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  if (message.wParam == VK_TAB && !ctrl && !alt) {
    move_focus(shift);
    return true;
  }
  if (message.wParam == VK_ESCAPE && !shift && !ctrl && !alt) {
    SendMessageW(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }
  return false;
}

void MainWindow::move_focus(bool backwards) {
  const int count = static_cast<int>(controls_.size());
  HWND focus = GetFocus();
  while (focus && GetParent(focus) != window_) focus = GetParent(focus);
  int at = -1;
  for (int i = 0; i < count; ++i)
    if (controls_[i]->window() == focus) at = i;
  for (int step = 1; step <= count; ++step) {
    int i = at < 0 ? (backwards ? count - step : step - 1)
                   : (at + (backwards ? count - step : step)) % count;
    const ControlView& control = *controls_[i];
    if (control.spec().tab_stop && IsWindowVisible(control.window()) &&
        IsWindowEnabled(control.window())) {
      SetFocus(control.window());
      return;
    }
  }
}

void MainWindow::focus_first_or_remembered() {
  if (remembered_focus_ && IsWindow(remembered_focus_) && IsChild(window_, remembered_focus_)) {
    SetFocus(remembered_focus_);
    return;
  }
  for (const auto& control : controls_) {
    if (control->spec().tab_stop && IsWindowVisible(control->window()) &&
        IsWindowEnabled(control->window())) {
      SetFocus(control->window());
      return;
    }
  }
}

ControlView* MainWindow::control_by_id(int id) const noexcept {
  const int index = id - kFirstControlId;
  if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
  return controls_[index].get();
}

ControlView* MainWindow::control_by_name(std::string_view name) const noexcept {
  const int index = control_index(name);
  return index < 0 ? nullptr : controls_[index].get();
}

char* MainWindow::read_property(std::string_view control) {
  ControlView* view = control_by_name(control);
  return view ? view->read_value() : nullptr;
}

void MainWindow::write_property(std::string_view control, const char* text) {
  if (ControlView* view = control_by_name(control)) view->write_value(text);
}

bool MainWindow::start_process(const char* command_line) {
  return start_command_processor(command_line);
}

void MainWindow::show_message_box(const char* text, const char* title, unsigned style) {
  MessageBoxW(nullptr, widen(text ? text : "").c_str(), widen(title ? title : "").c_str(), style);
}

}  // namespace krovelin
