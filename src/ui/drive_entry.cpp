#include "ui/drive_entry.h"

namespace krovelin {

char drive_letter(std::string_view root) noexcept {
  if (root.empty()) return 0;
  char c = root.front();
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return (c >= 'A' && c <= 'Z') ? c : 0;
}

std::string drive_entry_text(char letter, DriveType type, std::string_view label) {
  std::string text{letter, ':'};
  switch (type) {
    case DriveType::fixed:
      text += " （硬盘）";
      if (!label.empty()) {
        text += ' ';
        text += label;
      }
      break;
    case DriveType::remote:
      text += " （网络驱动器）";
      break;
    case DriveType::cdrom:
      text += " （光驱）";
      break;
    case DriveType::ramdisk:
      text += " （内存虚拟驱动器）";
      break;
    default:
      break;
  }
  return text;
}

}  // namespace krovelin
