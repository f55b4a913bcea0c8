#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "shell/module_path.h"

namespace krovelin {
namespace {

// 乗 is E4 B9 97 in UTF-8; in code page 936 its second byte would be the backslash code 5C.
#define JOU "乗"

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The folder must be a view into the path that stops between two characters.
void expect_folder(std::string_view path, std::optional<std::string_view> expected) {
  SCOPED_TRACE(std::string(path));
  const std::optional<std::string_view> folder = module_folder(path);
  ASSERT_EQ(folder.has_value(), expected.has_value());
  if (!folder) return;
  EXPECT_EQ(*folder, *expected);
  EXPECT_EQ(folder->data(), path.data());
  ASSERT_LE(folder->size(), path.size());
  if (folder->size() < path.size()) {
    EXPECT_FALSE(is_continuation_byte(path[folder->size()]));
  }
}

TEST(ModuleFolder, IsThePartBeforeTheLastBackslash) {
  struct Case {
    std::string_view path;
    std::optional<std::string_view> folder;
  };
  const Case cases[] = {
      {"C:\\Tools\\krovelin.exe", "C:\\Tools"},
      {"D:\\工具\\链接\\krovelin.exe", "D:\\工具\\链接"},
      {"D:\\" JOU "換\\krovelin.exe", "D:\\" JOU "換"},
      {"D:\\工具\\" JOU "\\" JOU ".exe", "D:\\工具\\" JOU},
      {"D:\\工具" JOU "\\k.exe", "D:\\工具" JOU},
      {"D:\\Data\\", "D:\\Data"},
      {"\\\\server\\share\\krovelin.exe", "\\\\server\\share"},
  };
  for (const Case& c : cases) expect_folder(c.path, c.folder);
}

TEST(ModuleFolder, DriveRootKeepsItsBackslash) {
  struct Case {
    std::string_view path;
    std::optional<std::string_view> folder;
  };
  const Case cases[] = {
      {"C:\\krovelin.exe", "C:\\"},
      {"c:\\krovelin.exe", "c:\\"},
      {"D:\\" JOU, "D:\\"},
      {"D:\\" JOU ".exe", "D:\\"},
      {"C:\\", "C:\\"},
  };
  for (const Case& c : cases) expect_folder(c.path, c.folder);
}

TEST(ModuleFolder, PathWithoutBackslashNamesNoFolder) {
  const std::string_view paths[] = {"", "krovelin.exe", "C:", "C:krovelin.exe", JOU "換.exe",
                                    "C:/Tools/krovelin.exe"};
  for (std::string_view path : paths) expect_folder(path, std::nullopt);
}

TEST(ModuleFolder, LongPathsPastTheOldLimit) {
  const std::string_view names[] = {"长文件夹名称", JOU, "folder"};
  for (std::string_view name : names) {
    std::string folder = "D:";
    while (folder.size() <= 300) folder += "\\" + std::string(name);
    const std::string path = folder + "\\" + std::string(name) + ".exe";
    ASSERT_GT(path.size(), 260u);
    expect_folder(path, std::string_view(folder));
  }
}

}  // namespace
}  // namespace krovelin
