#pragma once
#include <string_view>

namespace krovelin {

inline constexpr char kLinkCommandStart[] = "CMD /k MKLINK /d /j ";

// Whether a path must be enclosed in double quotes to reach MKLINK as one word: it holds a
// blank, a tab or a character the command processor treats specially, and no quote of the
// user's own.
bool needs_quotes(std::string_view path) noexcept;

// The command line for a link path and a target path, either of which may be missing: the fixed
// start, the link path, one blank, the target path, each path quoted where needed. A new text
// value owned by the caller.
char* link_command(const char* link_path, const char* target_path);

}  // namespace krovelin
