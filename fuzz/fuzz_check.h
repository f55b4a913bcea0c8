// What every fuzz target shares: a failed property names itself and the input, then aborts, so
// that libFuzzer saves the input as a crash artefact like any sanitizer finding.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace fuzz {

// The bytes with everything outside printable ASCII escaped, so a report shows NULs, backslashes
// and UTF-8 sequences exactly.
inline std::string escaped(std::string_view bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7f) {
      out += static_cast<char>(c);
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02x", c);
      out += hex;
    }
  }
  return out;
}

[[noreturn]] inline void fail(const char* property, const char* file, int line,
                              std::string_view seen) {
  std::fprintf(stderr, "\n%s:%d: property violated: %s\n  seen: \"%s\"\n", file, line, property,
               escaped(seen).c_str());
  std::abort();
}

// `seen` is whatever makes the failure readable: the input, or the value that broke the rule.
#define FUZZ_CHECK(condition, seen) \
  ((condition) ? void() : ::fuzz::fail(#condition, __FILE__, __LINE__, (seen)))

// Well-formed UTF-8 as RFC 3629 has it: no overlong forms, no surrogates, nothing above U+10FFFF.
inline bool valid_utf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t trail;
    unsigned char low = 0x80, high = 0xbf;  // the range of the first trail byte
    if (lead < 0x80) {
      trail = 0;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
      trail = 1;
    } else if (lead >= 0xe0 && lead <= 0xef) {
      trail = 2;
      if (lead == 0xe0) low = 0xa0;
      if (lead == 0xed) high = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
      trail = 3;
      if (lead == 0xf0) low = 0x90;
      if (lead == 0xf4) high = 0x8f;
    } else {
      return false;
    }
    if (bytes.size() - i - 1 < trail) return false;
    for (std::size_t k = 1; k <= trail; ++k) {
      const auto c = static_cast<unsigned char>(bytes[i + k]);
      if (c < (k == 1 ? low : 0x80) || c > (k == 1 ? high : 0xbf)) return false;
    }
    i += trail + 1;
  }
  return true;
}

// Reads an input front to back; past the end every read gives zeros and empty pieces, so a short
// input is simply a shorter program of operations.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size)
      : bytes_(reinterpret_cast<const char*>(data), size) {}

  bool empty() const noexcept { return bytes_.empty(); }
  std::uint8_t byte() noexcept {
    if (bytes_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(bytes_.front());
    bytes_.remove_prefix(1);
    return b;
  }
  // A piece of up to `size` bytes; fewer when the input runs out.
  std::string_view take(std::size_t size) noexcept {
    const std::string_view piece = bytes_.substr(0, size);
    bytes_.remove_prefix(piece.size());
    return piece;
  }
  // A length byte and that many bytes.
  std::string_view piece() noexcept { return take(byte()); }
  std::string_view rest() noexcept { return take(bytes_.size()); }

 private:
  std::string_view bytes_;
};

}  // namespace fuzz
