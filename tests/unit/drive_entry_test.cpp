#include <gtest/gtest.h>

#include <string_view>

#include "ui/drive_entry.h"

namespace krovelin {
namespace {

TEST(DriveEntryText, LetterTypeAndLabelOfAFixedDisk) {
  struct Case {
    char letter;
    DriveType type;
    std::string_view label;
    std::string_view text;
  };
  const Case cases[] = {
      {'C', DriveType::fixed, "Data", "C: （硬盘） Data"},
      {'C', DriveType::fixed, "", "C: （硬盘）"},
      {'E', DriveType::fixed, "系统 备份", "E: （硬盘） 系统 备份"},
      {'D', DriveType::cdrom, "", "D: （光驱）"},
      {'D', DriveType::cdrom, "DVD_ROM", "D: （光驱）"},
      {'A', DriveType::removable, "", "A:"},
      {'A', DriveType::removable, "STICK", "A:"},
      {'X', DriveType::remote, "", "X: （网络驱动器）"},
      {'X', DriveType::remote, "share", "X: （网络驱动器）"},
      {'R', DriveType::ramdisk, "", "R: （内存虚拟驱动器）"},
      {'R', DriveType::ramdisk, "RAM", "R: （内存虚拟驱动器）"},
      {'Q', DriveType::unknown, "", "Q:"},
      {'Q', DriveType::unknown, "label", "Q:"},
      {'Q', DriveType::no_root_dir, "", "Q:"},
      {'Q', DriveType::no_root_dir, "label", "Q:"},
      {'Z', static_cast<DriveType>(42), "label", "Z:"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(drive_entry_text(c.letter, c.type, c.label), c.text)
        << c.letter << " type " << static_cast<unsigned>(c.type) << " label " << c.label;
}

TEST(WantsVolumeLabel, OnlyForFixedDisks) {
  const DriveType types[] = {DriveType::unknown, DriveType::no_root_dir, DriveType::removable,
                             DriveType::fixed,   DriveType::remote,      DriveType::cdrom,
                             DriveType::ramdisk};
  for (DriveType type : types)
    EXPECT_EQ(wants_volume_label(type), type == DriveType::fixed) << static_cast<unsigned>(type);
}

TEST(DriveLetter, UpperCaseLetterOrZero) {
  struct Case {
    std::string_view root;
    char letter;
  };
  const Case cases[] = {
      {"c:\\", 'C'}, {"C:\\", 'C'}, {"a:\\", 'A'}, {"z:\\", 'Z'}, {"Z", 'Z'},
      {"", 0},       {"1:\\", 0},   {"@:\\", 0},   {"[:\\", 0},  {"`:\\", 0},
      {"{:\\", 0},   {"\\", 0},     {"中:\\", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(drive_letter(c.root), c.letter) << c.root;
}

}  // namespace
}  // namespace krovelin
