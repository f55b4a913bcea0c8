#pragma once
#include "shell/services.h"

namespace krovelin {

inline constexpr char kPlaceholderName[] = "欲创建链接的文件夹名";
inline constexpr char kInitialLinkText[] = "文件夹必须不存在，稍后自动创建";
inline constexpr char kAboutText[] = "Tamsel制作";
inline constexpr char kAboutTitle[] = "信息：";
inline constexpr unsigned kAboutStyle = 0x2000;  // MB_OK | MB_TASKMODAL, no icon

void on_window_created(Services& services);
void on_link_drive_changed(Services& services);
void on_target_drive_changed(Services& services);
void on_link_folder_changed(Services& services);
void on_target_folder_changed(Services& services);
void on_ok_clicked(Services& services);
void on_about_clicked(Services& services);

}  // namespace krovelin
