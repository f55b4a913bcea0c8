#pragma once
#include <optional>
#include <string_view>

namespace krovelin {

// The folder that holds the program's file: the part of its full path before the last
// backslash. UTF-8 never puts a backslash byte inside a character, so the byte search cannot
// split one. A path without a backslash names no folder. A program in a drive's root keeps the
// backslash (C:\ rather than C:), since C: alone means that drive's current folder, not its root.
std::optional<std::string_view> module_folder(std::string_view module_path) noexcept;

}  // namespace krovelin
