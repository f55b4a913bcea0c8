#include "shell/wide.h"

#include "shell/heap.h"

namespace krovelin {
namespace {

// Both conversions keep GetLastError() as the caller left it, so an error code read after a
// conversion still belongs to the call before it.
class KeepLastError {
 public:
  KeepLastError() : error_(GetLastError()) {}
  ~KeepLastError() { SetLastError(error_); }

 private:
  DWORD error_;
};

}  // namespace

std::wstring widen(std::string_view utf8) {
  KeepLastError keep;
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string narrow(std::wstring_view utf16) {
  KeepLastError keep;
  if (utf16.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

char* narrow_text(std::wstring_view utf16) {
  KeepLastError keep;
  if (utf16.empty()) return nullptr;
  const int n = WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()),
                                    nullptr, 0, nullptr, nullptr);
  if (n <= 0) return nullptr;
  auto* text = static_cast<char*>(allocate(static_cast<std::size_t>(n) + 1));
  WideCharToMultiByte(CP_UTF8, 0, utf16.data(), static_cast<int>(utf16.size()), text, n, nullptr,
                      nullptr);
  text[n] = '\0';
  return text;
}

char* window_text(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return nullptr;
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
  return narrow_text(text);
}

void set_window_text(HWND window, const char* utf8) {
  SetWindowTextW(window, widen(utf8 ? utf8 : "").c_str());
}

}  // namespace krovelin
