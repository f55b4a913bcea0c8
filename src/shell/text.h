#pragma once
#include <cstddef>
#include <string_view>

namespace krovelin {

// A text value is a NUL-ended UTF-8 string in a block of the program heap, owned by whoever
// received it. The null pointer is the missing text: it reads as empty and releasing it does
// nothing.
void release_text(char* text) noexcept;

// The byte count before the first NUL; 0 for the missing text.
std::size_t text_length(const char* text) noexcept;

// A new text value with the same bytes; empty and missing texts copy to the missing text.
char* copy_text(const char* text);
char* copy_text(std::string_view bytes);

// Owns one text value and releases it once. Handlers call reset() where the order of releases
// matters; the destructor catches whatever is left on every other way out.
class Text {
 public:
  Text() noexcept = default;
  explicit Text(char* text) noexcept : text_(text) {}
  Text(Text&& other) noexcept : text_(other.text_) { other.text_ = nullptr; }
  Text& operator=(Text&& other) noexcept {
    if (this != &other) {
      reset();
      text_ = other.text_;
      other.text_ = nullptr;
    }
    return *this;
  }
  Text(const Text&) = delete;
  Text& operator=(const Text&) = delete;
  ~Text() { reset(); }

  const char* get() const noexcept { return text_; }
  bool missing() const noexcept { return text_ == nullptr; }
  std::string_view view() const noexcept {
    return text_ ? std::string_view(text_) : std::string_view();
  }
  void reset() noexcept {
    release_text(text_);
    text_ = nullptr;
  }

 private:
  char* text_ = nullptr;
};

}  // namespace krovelin
