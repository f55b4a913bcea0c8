#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>

#include "counting_heap.h"
#include "link/handlers.h"
#include "link/link_command.h"
#include "shell/text.h"

namespace krovelin {
namespace {

constexpr std::string_view kQuotingCharacters = " \t&|<>^(),;=";

TEST(NeedsQuotes, EachQuotingCharacterAloneCallsForQuotes) {
  for (char mark : kQuotingCharacters) {
    SCOPED_TRACE(std::string("character ") + std::to_string(static_cast<int>(mark)));
    EXPECT_TRUE(needs_quotes(std::string(1, mark)));
    EXPECT_TRUE(needs_quotes(std::string("D:\\a") + mark + "b"));
    EXPECT_TRUE(needs_quotes(std::string("D:\\ab") + mark));
  }
}

TEST(NeedsQuotes, AQuoteAnywhereLeavesThePathAsTheUserWroteIt) {
  for (char mark : kQuotingCharacters) {
    SCOPED_TRACE(std::string("character ") + std::to_string(static_cast<int>(mark)));
    EXPECT_FALSE(needs_quotes(std::string("\"D:\\a") + mark + "b\""));
    EXPECT_FALSE(needs_quotes(std::string("D:\\a") + mark + "b\""));
    EXPECT_FALSE(needs_quotes(std::string("D:\\a\"") + mark));
  }
}

TEST(NeedsQuotes, OrdinaryPathsStayBare) {
  const std::string_view paths[] = {
      "", "D:\\Links\\Games", "D:\\%PATH%", "D:\\Hi!", "!", "%", "D:\\a.b-c_d\\e", "D:\\链接\\游戏",
      kInitialLinkText,  // its comma is the full-width one
  };
  for (std::string_view path : paths) EXPECT_FALSE(needs_quotes(path)) << path;
}

using LinkCommand = test::CountingHeapTest;

TEST_F(LinkCommand, BuildsTheCommandLineInOneBlock) {
  struct Case {
    const char* link;
    const char* target;
    std::string_view command;
  };
  const Case cases[] = {
      {"D:\\Links\\Games", "E:\\Games", "CMD /k MKLINK /d /j D:\\Links\\Games E:\\Games"},
      {nullptr, nullptr, "CMD /k MKLINK /d /j  "},
      {"", "", "CMD /k MKLINK /d /j  "},
      {"D:\\My Links\\Games", "E:\\Games\\",
       "CMD /k MKLINK /d /j \"D:\\My Links\\Games\" E:\\Games\\"},
      {"D:\\a&b", "\"E:\\x y\"", "CMD /k MKLINK /d /j \"D:\\a&b\" \"E:\\x y\""},
      {"D:\\Links\\x", "", "CMD /k MKLINK /d /j D:\\Links\\x "},
      {"D:\\Links\\x", nullptr, "CMD /k MKLINK /d /j D:\\Links\\x "},
      {nullptr, "E:\\Games", "CMD /k MKLINK /d /j  E:\\Games"},
      {"D:\\Links\\x", "E:\\Program Files (x86)",
       "CMD /k MKLINK /d /j D:\\Links\\x \"E:\\Program Files (x86)\""},
      {"D:\\a\"b c", "E:\\x", "CMD /k MKLINK /d /j D:\\a\"b c E:\\x"},
      {"D:\\%PATH%", "E:\\Hi!", "CMD /k MKLINK /d /j D:\\%PATH% E:\\Hi!"},
      {"D:\\链接\\游戏", "E:\\数据\\" "乗", "CMD /k MKLINK /d /j D:\\链接\\游戏 E:\\数据\\乗"},
      {kInitialLinkText, "E:\\", "CMD /k MKLINK /d /j 文件夹必须不存在，稍后自动创建 E:\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    const std::size_t before = heap_.sizes().size();
    Text command(link_command(c.link, c.target));
    EXPECT_EQ(command.view(), c.command);
    ASSERT_EQ(heap_.sizes().size(), before + 1);
    EXPECT_EQ(heap_.sizes().back(), c.command.size() + 1);
  }
}

TEST_F(LinkCommand, EachQuotingCharacterQuotesItsPathOnly) {
  for (char mark : kQuotingCharacters) {
    SCOPED_TRACE(std::string("character ") + std::to_string(static_cast<int>(mark)));
    const std::string path = std::string("D:\\a") + mark + "b";
    Text as_link(link_command(path.c_str(), "E:\\x"));
    EXPECT_EQ(as_link.view(), "CMD /k MKLINK /d /j \"" + path + "\" E:\\x");
    Text as_target(link_command("D:\\x", path.c_str()));
    EXPECT_EQ(as_target.view(), "CMD /k MKLINK /d /j D:\\x \"" + path + "\"");
  }
}

}  // namespace
}  // namespace krovelin
