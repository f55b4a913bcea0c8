#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "shell/shell.h"

namespace krovelin {

inline constexpr std::string_view kLinkLabel = "标签1";
inline constexpr std::string_view kLinkEdit = "编辑框1";
inline constexpr std::string_view kLinkDriveBox = "驱动器框1";
inline constexpr std::string_view kLinkDirectoryBox = "目录框1";
inline constexpr std::string_view kTargetDriveBox = "驱动器框2";
inline constexpr std::string_view kTargetDirectoryBox = "目录框2";
inline constexpr std::string_view kTargetLabel = "标签2";
inline constexpr std::string_view kTargetEdit = "编辑框2";
inline constexpr std::string_view kOkButton = "按钮1";
inline constexpr std::string_view kAboutButton = "按钮2";
inline constexpr std::string_view kNoteLabel = "标签3";

enum class Kind : std::uint8_t { label, edit_box, drive_box, directory_box, button };

struct ControlSpec {
  std::string_view name;
  Kind kind;
  int left, top, width, height;
  std::string_view text;
  bool tab_stop;
};

struct WindowSpec {
  std::string_view caption;
  int width, height;
};

inline constexpr WindowSpec kMainWindowSpec{"Krovelin", 520, 479};

// The controls in creation order, which is also the tab order. A control's window id is
// kFirstControlId plus its index here.
inline constexpr std::array<ControlSpec, 11> kControls{{
    {kLinkLabel, Kind::label, 16, 24, 96, 32, "欲被链接的目录：", false},
    {kLinkEdit, Kind::edit_box, 112, 24, 320, 30, "文件夹必须不存在，稍后自动创建", true},
    {kLinkDriveBox, Kind::drive_box, 112, 64, 320, 20, "", true},
    {kLinkDirectoryBox, Kind::directory_box, 112, 96, 320, 88, "", true},
    {kTargetDriveBox, Kind::drive_box, 112, 264, 320, 20, "", true},
    {kTargetDirectoryBox, Kind::directory_box, 112, 296, 320, 88, "", true},
    {kTargetLabel, Kind::label, 16, 224, 96, 32, "数据的真实目录：", false},
    {kTargetEdit, Kind::edit_box, 112, 224, 320, 30, "", true},
    {kOkButton, Kind::button, 288, 400, 80, 32, "确定", true},
    {kAboutButton, Kind::button, 144, 400, 80, 32, "关于", true},
    {kNoteLabel, Kind::label, 16, 56, 80, 24, "（新的文件夹）", false},
}};

inline constexpr int kFirstControlId = 101;

// The event bindings, in form order: the first binding for an event wins.
std::span<const Binding> form_bindings() noexcept;

// Index of the control with this name, or -1.
constexpr int control_index(std::string_view name) noexcept {
  for (std::size_t i = 0; i < kControls.size(); ++i)
    if (kControls[i].name == name) return static_cast<int>(i);
  return -1;
}

// A form is readable when its names are unique and every binding names a control of it.
bool form_is_valid(std::span<const ControlSpec> controls, std::span<const Binding> bindings);

// The window's left or top edge that centres `size` on a screen of `screen`; the division
// truncates toward zero, so a screen smaller than the window gives a negative place.
constexpr int centred(int screen, int size) noexcept { return (screen - size) / 2; }

}  // namespace krovelin
