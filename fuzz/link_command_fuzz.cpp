// concat_texts and link_command: joining text values in one exact block of the program heap, and
// the command line that OK starts. A counting heap sees every block.
//
// Input: a separator byte, a byte whose bits mark texts as missing (bit i: text i is the null
// pointer), then the texts, split at the separator; the first eight join (one to eight
// texts), and the first two are also the link and target paths. Each text ends at its first NUL,
// as a C string does. The separator comes from the input so that every byte value can still
// appear inside a text.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_check.h"
#include "link/concat.h"
#include "link/link_command.h"
#include "shell/heap.h"
#include "shell/text.h"

namespace {

constexpr std::size_t kMaxTexts = 8;

class CountingHeap final : public krovelin::Heap {
 public:
  void* try_allocate(std::size_t size) noexcept override {
    ++allocations;
    last_size = size;
    ++live;
    return std::malloc(size ? size : 1);
  }
  void release(void* block) noexcept override {
    if (block) --live;
    std::free(block);
  }

  std::size_t allocations = 0;
  std::size_t last_size = 0;
  std::ptrdiff_t live = 0;
};

CountingHeap heap;

template <std::size_t... I>
char* concat_list(const char* const* texts, std::index_sequence<I...>) {
  return krovelin::concat_texts(texts[I]...);
}

template <std::size_t... N>
constexpr auto concat_by_count(std::index_sequence<N...>) {
  return std::array<char* (*)(const char* const*), sizeof...(N)>{[](const char* const* texts) {
    return concat_list(texts, std::make_index_sequence<N + 1>());
  }...};
}

// concat_texts takes its texts as separate arguments; this picks the call with `count` of them.
char* concat(const char* const* texts, std::size_t count) {
  static constexpr auto calls = concat_by_count(std::make_index_sequence<kMaxTexts>());
  return calls[count - 1](texts);
}

bool expected_quotes(std::string_view path) {
  return path.find('"') == std::string_view::npos &&
         path.find_first_of(" \t&|<>^(),;=") != std::string_view::npos;
}

std::string as_written(std::string_view path) {
  return expected_quotes(path) ? "\"" + std::string(path) + "\"" : std::string(path);
}

void check_concat(const std::vector<const char*>& texts, std::string_view input) {
  std::string expected;
  for (const char* text : texts) expected += text ? text : "";

  heap.allocations = 0;
  char* joined = concat(texts.data(), texts.size());
  FUZZ_CHECK(joined != nullptr, input);
  FUZZ_CHECK(heap.allocations == 1, input);
  FUZZ_CHECK(heap.last_size == expected.size() + 1, input);
  FUZZ_CHECK(std::strlen(joined) == expected.size(), joined);
  FUZZ_CHECK(std::memcmp(joined, expected.data(), expected.size()) == 0, joined);
  krovelin::release_text(joined);
  FUZZ_CHECK(heap.live == 0, input);
}

void check_link_command(const char* link, const char* target) {
  const std::string_view link_view = link ? link : "";
  const std::string_view target_view = target ? target : "";
  FUZZ_CHECK(krovelin::needs_quotes(link_view) == expected_quotes(link_view), link_view);
  FUZZ_CHECK(krovelin::needs_quotes(target_view) == expected_quotes(target_view), target_view);

  heap.allocations = 0;
  char* command = krovelin::link_command(link, target);
  FUZZ_CHECK(command != nullptr, link_view);
  FUZZ_CHECK(heap.allocations == 1, command);
  const std::string_view line = command;

  FUZZ_CHECK(line.starts_with("CMD /k MKLINK /d /j "), line);
  const std::size_t quotes =
      2 * (expected_quotes(link_view) ? 1 : 0) + 2 * (expected_quotes(target_view) ? 1 : 0);
  FUZZ_CHECK(line.size() == 20 + link_view.size() + 1 + target_view.size() + quotes, line);
  // A plain path and one the user quoted go out byte for byte, any other one in double quotes.
  FUZZ_CHECK(line == "CMD /k MKLINK /d /j " + as_written(link_view) + " " + as_written(target_view),
             line);
  krovelin::release_text(command);
  FUZZ_CHECK(heap.live == 0, line);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  krovelin::set_program_heap(heap);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  const char separator = static_cast<char>(in.byte());
  const std::uint8_t missing = in.byte();
  const std::string_view input = in.rest();

  std::vector<std::string> pieces;
  for (std::size_t start = 0; pieces.size() < kMaxTexts;) {
    const std::size_t end = std::min(input.find(separator, start), input.size());
    const std::string_view piece = input.substr(start, end - start);
    pieces.emplace_back(piece.substr(0, piece.find('\0')));
    if (end == input.size()) break;
    start = end + 1;
  }

  std::vector<const char*> texts;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    texts.push_back((missing >> i) & 1 ? nullptr : pieces[i].c_str());
  }
  check_concat(texts, input);
  check_link_command(texts[0], texts.size() > 1 ? texts[1] : nullptr);
  return 0;
}
