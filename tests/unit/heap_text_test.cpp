#include <gtest/gtest.h>

#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "counting_heap.h"
#include "shell/heap.h"
#include "shell/text.h"

namespace krovelin {
namespace {

using test::CountingHeapTest;
using Sizes = std::vector<std::size_t>;

TEST(DefaultHeap, HandsOutAndTakesBackBlocksEvenOfSizeZero) {
  Heap& heap = default_heap();
  void* empty = heap.try_allocate(0);
  void* block = heap.try_allocate(32);
  ASSERT_NE(empty, nullptr);
  ASSERT_NE(block, nullptr);
  EXPECT_NE(empty, block);
  std::memset(block, 'x', 32);
  heap.release(empty);
  heap.release(block);
}

using ProgramHeap = CountingHeapTest;

TEST_F(ProgramHeap, AllocateTakesItsBlocksFromTheInstalledHeap) {
  EXPECT_EQ(&program_heap(), &heap_);
  void* block = allocate(7);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(heap_.sizes(), Sizes{7});
  program_heap().release(block);
  EXPECT_EQ(heap_.releases(), 1u);
}

TEST_F(ProgramHeap, PuttingTheDefaultHeapBackStopsTheCounting) {
  set_program_heap(default_heap());
  EXPECT_EQ(&program_heap(), &default_heap());
  char* text = copy_text("abc");
  release_text(text);
  EXPECT_TRUE(heap_.sizes().empty());
}

TEST(TextLength, CountsBytesBeforeTheFirstNul) {
  struct Case {
    const char* text;
    std::size_t length;
  };
  const Case cases[] = {
      {nullptr, 0}, {"", 0}, {"abc", 3}, {"中文", 6}, {"\xF0\x9F\x98\x80", 4}, {"ab\0cd", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(text_length(c.text), c.length) << (c.text ? c.text : "null");
}

using Texts = CountingHeapTest;

TEST_F(Texts, EmptyAndMissingCopyToTheMissingTextWithoutAllocating) {
  EXPECT_EQ(copy_text(static_cast<const char*>(nullptr)), nullptr);
  EXPECT_EQ(copy_text(""), nullptr);
  EXPECT_EQ(copy_text(std::string_view()), nullptr);
  EXPECT_EQ(copy_text(std::string_view("abc", 0)), nullptr);
  EXPECT_TRUE(heap_.sizes().empty());
}

TEST_F(Texts, CopyIsANewNulEndedBlockOfTheExactSize) {
  const char* const sources[] = {"a", "D:\\Links\\Games", "文件夹必须不存在，稍后自动创建",
                                 "\xF0\x9F\x98\x80"};
  for (const char* source : sources) {
    SCOPED_TRACE(source);
    const std::size_t before = heap_.sizes().size();
    Text copy(copy_text(source));
    ASSERT_FALSE(copy.missing());
    EXPECT_NE(copy.get(), source);
    EXPECT_STREQ(copy.get(), source);
    ASSERT_EQ(heap_.sizes().size(), before + 1);
    EXPECT_EQ(heap_.sizes().back(), std::strlen(source) + 1);
  }
}

TEST_F(Texts, CopyOfAViewTakesOnlyItsBytes) {
  const std::string_view whole = "D:\\Data\\Old";
  Text copy(copy_text(whole.substr(0, 7)));
  EXPECT_STREQ(copy.get(), "D:\\Data");
  EXPECT_EQ(heap_.sizes(), Sizes{8});
}

TEST_F(Texts, ReleasingTheMissingTextDoesNothing) {
  release_text(nullptr);
  Text missing;
  EXPECT_TRUE(missing.missing());
  EXPECT_TRUE(missing.view().empty());
  missing.reset();
  EXPECT_EQ(heap_.releases(), 0u);
}

TEST_F(Texts, OwnerReleasesItsTextExactlyOnce) {
  {
    Text text(copy_text("abc"));
    EXPECT_EQ(text.view(), "abc");
    text.reset();
    EXPECT_TRUE(text.missing());
    EXPECT_EQ(heap_.releases(), 1u);
    text.reset();
  }
  EXPECT_EQ(heap_.releases(), 1u);
  {
    Text text(copy_text("xyz"));
  }
  EXPECT_EQ(heap_.releases(), 2u);
}

TEST_F(Texts, MovingHandsOverOwnership) {
  Text first(copy_text("first"));
  const char* block = first.get();
  Text second(std::move(first));
  EXPECT_TRUE(first.missing());
  EXPECT_EQ(second.get(), block);
  EXPECT_EQ(heap_.releases(), 0u);

  Text third(copy_text("third"));
  third = std::move(second);  // "third" goes at once, "first" moves in
  EXPECT_EQ(heap_.releases(), 1u);
  EXPECT_EQ(third.get(), block);
  EXPECT_TRUE(second.missing());

  Text& same = third;
  third = std::move(same);
  EXPECT_EQ(third.get(), block);
  EXPECT_EQ(heap_.releases(), 1u);
}

}  // namespace
}  // namespace krovelin
