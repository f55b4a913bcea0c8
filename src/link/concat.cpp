#include "link/concat.h"

#include <cstring>

#include "shell/heap.h"

namespace krovelin {

char* concat_texts_into(const char* const* texts, std::size_t* lengths, std::size_t count) {
  std::size_t size = 1;
  for (std::size_t i = 0; i < count; ++i) {
    lengths[i] = text_length(texts[i]);
    size += lengths[i];
  }
  auto* joined = static_cast<char*>(allocate(size));
  char* end = joined;
  for (std::size_t i = 0; i < count; ++i) {
    if (lengths[i] == 0) continue;
    std::memcpy(end, texts[i], lengths[i]);
    end += lengths[i];
  }
  *end = '\0';
  return joined;
}

}  // namespace krovelin
