#pragma once
#include <array>
#include <cstddef>

#include "shell/text.h"

namespace krovelin {

// Joins `count` texts (missing ones count as empty) into one new text value: each measured once,
// one block of the exact size, each copied once. `lengths` is the caller's scratch of `count`
// entries. Never returns the missing text.
char* concat_texts_into(const char* const* texts, std::size_t* lengths, std::size_t count);

// concat_texts(a, b, ...): the scratch list of lengths lives on the stack, sized by the count.
template <class... Texts>
char* concat_texts(const Texts&... texts) {
  static_assert(sizeof...(Texts) >= 1, "concat_texts joins at least one text");
  const std::array<const char*, sizeof...(Texts)> list{static_cast<const char*>(texts)...};
  std::array<std::size_t, sizeof...(Texts)> lengths;
  return concat_texts_into(list.data(), lengths.data(), list.size());
}

}  // namespace krovelin
