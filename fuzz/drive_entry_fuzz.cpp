// drive_letter and drive_entry_text: the letter read off a drive root and the text of its entry in
// a drive box.
//
// Input: a type byte (any value: GetDriveType's answer is cast as it comes, so unknown numbers
// must read like "unknown"), then the rest, which is both the root that drive_letter reads and
// the volume label.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "ui/drive_entry.h"

namespace {

using krovelin::DriveType;

std::string_view type_name(DriveType type) {
  switch (type) {
    case DriveType::fixed:
      return " （硬盘）";
    case DriveType::remote:
      return " （网络驱动器）";
    case DriveType::cdrom:
      return " （光驱）";
    case DriveType::ramdisk:
      return " （内存虚拟驱动器）";
    default:
      return "";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  const auto type = static_cast<DriveType>(in.byte());
  const std::string_view rest = in.rest();

  const char letter = krovelin::drive_letter(rest);
  if (rest.empty()) {
    FUZZ_CHECK(letter == 0, rest);
  } else {
    const char first = rest.front();
    const bool is_letter = (first >= 'a' && first <= 'z') || (first >= 'A' && first <= 'Z');
    FUZZ_CHECK(letter == (is_letter ? (first & ~0x20) : 0), rest);
  }

  // Every letter byte, not only those drive_letter gives: the text must not care.
  for (const char entry_letter : {letter, rest.empty() ? 'C' : rest.front()}) {
    const std::string text = krovelin::drive_entry_text(entry_letter, type, rest);
    const std::string_view view(text);
    FUZZ_CHECK(view.size() >= 2 && view[0] == entry_letter && view[1] == ':', view);

    const std::string_view suffix = view.substr(2);
    const std::string_view name = type_name(type);
    FUZZ_CHECK(suffix.starts_with(name), view);
    const std::string_view after_name = suffix.substr(name.size());
    // The label only for a fixed disk and only when there is one, set off by one blank.
    if (krovelin::wants_volume_label(type) && !rest.empty()) {
      FUZZ_CHECK(after_name.size() == rest.size() + 1, view);
      FUZZ_CHECK(after_name[0] == ' ' && after_name.substr(1) == rest, view);
    } else {
      FUZZ_CHECK(after_name.empty(), view);
    }
    FUZZ_CHECK(krovelin::wants_volume_label(type) == (type == DriveType::fixed), view);
    if (fuzz::valid_utf8(rest) && (entry_letter & 0x80) == 0)
      FUZZ_CHECK(fuzz::valid_utf8(view), view);
  }
  return 0;
}
