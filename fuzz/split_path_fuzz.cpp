// split_path and search_pattern: the pieces a directory box makes path nodes of, and the pattern
// that lists a folder. Input: the path's bytes as they stand.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "ui/folder_tree.h"

namespace {

// The path as the pieces should give it back: every run of backslashes one backslash, none at
// either end.
std::string collapsed(std::string_view path) {
  std::string out;
  bool separator = false;
  for (char c : path) {
    if (c == '\\') {
      separator = true;
      continue;
    }
    if (separator && !out.empty()) out += '\\';
    separator = false;
    out += c;
  }
  return out;
}

void check_split(std::string_view path) {
  const auto pieces = krovelin::split_path(path);
  const bool utf8 = fuzz::valid_utf8(path);
  std::string joined;
  const char* previous_end = path.data();
  for (std::string_view piece : pieces) {
    FUZZ_CHECK(!piece.empty(), path);
    FUZZ_CHECK(piece.find('\\') == std::string_view::npos, piece);
    // Views into the path, in order and without overlap.
    FUZZ_CHECK(
        piece.data() >= previous_end && piece.data() + piece.size() <= path.data() + path.size(),
        path);
    previous_end = piece.data() + piece.size();
    if (utf8) FUZZ_CHECK(fuzz::valid_utf8(piece), piece);
    if (!joined.empty()) joined += '\\';
    joined += piece;
  }
  FUZZ_CHECK(joined == collapsed(path), path);
}

void check_search_pattern(std::string_view folder) {
  const std::string pattern = krovelin::search_pattern(folder);
  const bool separated = !folder.empty() && folder.back() != '\\';
  FUZZ_CHECK(pattern.size() == folder.size() + (separated ? 1 : 0) + 3, pattern);
  FUZZ_CHECK(pattern.starts_with(folder), pattern);
  FUZZ_CHECK(pattern.ends_with("*.*"), pattern);
  const std::string_view between =
      std::string_view(pattern).substr(folder.size(), pattern.size() - folder.size() - 3);
  FUZZ_CHECK(between == (separated ? "\\" : ""), pattern);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  check_split(path);
  check_search_pattern(path);
  return 0;
}
