#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "counting_heap.h"
#include "link/concat.h"

namespace krovelin {
namespace {

constexpr const char* kMissing = nullptr;

using Concat = test::CountingHeapTest;

TEST_F(Concat, OneBlockOfTheExactSizeHoldingAllTextsInOrder) {
  struct Case {
    const char* name;
    char* (*join)();
    std::string expected;
  };
  const Case cases[] = {
      {"missing", [] { return concat_texts(kMissing); }, ""},
      {"empty", [] { return concat_texts(""); }, ""},
      {"all missing or empty", [] { return concat_texts(kMissing, "", kMissing); }, ""},
      {"one text", [] { return concat_texts("D:\\"); }, "D:\\"},
      {"two texts", [] { return concat_texts("D", ":\\"); }, "D:\\"},
      {"four texts with gaps", [] { return concat_texts("CMD ", kMissing, "x", ""); }, "CMD x"},
      {"four texts", [] { return concat_texts("a", "bc", "def", "ghij"); }, "abcdefghij"},
      {"Chinese", [] { return concat_texts("D:\\Data", "\\欲创建链接的文件夹名"); },
       "D:\\Data\\欲创建链接的文件夹名"},
      {"four-byte character", [] { return concat_texts("\xF0\x9F\x98\x80", "中", "\xF0\x9F\x98\x80"); },
       "\xF0\x9F\x98\x80中\xF0\x9F\x98\x80"},
      {"same text twice", [] {
         static const char twice[] = "ab";
         return concat_texts(twice, twice);
       },
       "abab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::size_t before = heap_.sizes().size();
    Text joined(c.join());
    ASSERT_FALSE(joined.missing());
    EXPECT_EQ(std::string(joined.get()), c.expected);
    ASSERT_EQ(heap_.sizes().size(), before + 1);
    EXPECT_EQ(heap_.sizes().back(), c.expected.size() + 1);
  }
}

TEST_F(Concat, OneTextGivesANewCopy) {
  const char source[] = "E:\\Games";
  Text copy(concat_texts(source));
  EXPECT_NE(copy.get(), source);
  EXPECT_STREQ(copy.get(), source);
}

TEST_F(Concat, EveryEmptyResultIsAFreshBlock) {
  Text first(concat_texts(kMissing));
  Text second(concat_texts(""));
  ASSERT_FALSE(first.missing());
  ASSERT_FALSE(second.missing());
  EXPECT_NE(first.get(), second.get());
  EXPECT_EQ(heap_.sizes(), (std::vector<std::size_t>{1, 1}));
}

TEST_F(Concat, JoinsTextValuesOfTheProgramHeap) {
  Text drive(copy_text("D"));
  Text root(concat_texts(drive.get(), ":\\"));
  EXPECT_STREQ(root.get(), "D:\\");
  EXPECT_STREQ(drive.get(), "D");
}

}  // namespace
}  // namespace krovelin
