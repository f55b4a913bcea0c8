// module_folder: the folder the program's file lives in, cut out of its full path byte-wise.
// Input: the path's bytes as they stand (a module path can be anything GetModuleFileName says).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz_check.h"
#include "shell/module_path.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  const auto folder = krovelin::module_folder(path);

  const std::size_t last = path.rfind('\\');
  FUZZ_CHECK(folder.has_value() == (last != std::string_view::npos), path);
  if (!folder) return 0;

  // A view into the path itself, not a copy that merely reads the same.
  FUZZ_CHECK(folder->data() == path.data(), path);
  FUZZ_CHECK(folder->size() <= path.size(), path);

  // The cut lands on the last backslash: before it, or just after it for a drive root, where
  // "X:" alone would name the drive's current folder instead.
  const bool drive_root = last == 2 && path[1] == ':';
  if (drive_root) {
    FUZZ_CHECK(folder->size() == 3 && folder->back() == '\\', path);
  } else {
    FUZZ_CHECK(folder->size() == last && path[folder->size()] == '\\', path);
  }
  FUZZ_CHECK(path.substr(last + 1).find('\\') == std::string_view::npos, path);

  // Cutting at a backslash byte never splits a UTF-8 character.
  if (fuzz::valid_utf8(path)) {
    FUZZ_CHECK(fuzz::valid_utf8(*folder), path);
    FUZZ_CHECK(fuzz::valid_utf8(path.substr(folder->size())), path);
  }
  return 0;
}
