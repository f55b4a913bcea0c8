#include "shell/text.h"

#include <cstring>

#include "shell/heap.h"

namespace krovelin {

void release_text(char* text) noexcept {
  if (text) program_heap().release(text);
}

std::size_t text_length(const char* text) noexcept { return text ? std::strlen(text) : 0; }

char* copy_text(std::string_view bytes) {
  if (bytes.empty()) return nullptr;
  auto* copy = static_cast<char*>(allocate(bytes.size() + 1));
  std::memcpy(copy, bytes.data(), bytes.size());
  copy[bytes.size()] = '\0';
  return copy;
}

char* copy_text(const char* text) { return copy_text(std::string_view(text ? text : "")); }

}  // namespace krovelin
