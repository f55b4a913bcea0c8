#pragma once
// The one place where the program's UTF-8 texts meet Windows' UTF-16. Every call into Windows
// that takes or gives text goes through here in its wide form.
#include <windows.h>

#include <string>
#include <string_view>

namespace krovelin {

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view utf16);

// A new text value from UTF-16; the missing text when `utf16` is empty.
char* narrow_text(std::wstring_view utf16);

// A window's whole text as a new text value (the missing text when it is empty).
char* window_text(HWND window);
void set_window_text(HWND window, const char* utf8);

}  // namespace krovelin
