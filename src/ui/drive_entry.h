#pragma once
#include <string>
#include <string_view>

namespace krovelin {

// Drive types as the system reports them (GetDriveType's numbering).
enum class DriveType : unsigned {
  unknown = 0,
  no_root_dir = 1,
  removable = 2,
  fixed = 3,
  remote = 4,
  cdrom = 5,
  ramdisk = 6,
};

// Only fixed disks are asked for a label, so building the list never wakes an empty removable or
// optical drive.
constexpr bool wants_volume_label(DriveType type) noexcept { return type == DriveType::fixed; }

// The upper-case letter of a drive root such as "c:\", or 0 when the root does not start with one.
char drive_letter(std::string_view root) noexcept;

// "C: （硬盘） Data", "D: （光驱）", "A:": the letter, a colon, the type's name and, for a fixed
// disk with a label, one blank and the label.
std::string drive_entry_text(char letter, DriveType type, std::string_view label);

}  // namespace krovelin
