#include "link/handlers.h"

#include <string_view>

#include "link/concat.h"
#include "link/link_command.h"
#include "shell/text.h"
#include "ui/form.h"

namespace krovelin {
namespace {

// One side of the window: its three controls and what its suggestions add to a drive or folder.
struct Side {
  std::string_view drive_box;
  std::string_view directory_box;
  std::string_view edit_box;
  const char* after_drive;
  const char* after_folder;
};

constexpr Side kLinkSide{kLinkDriveBox, kLinkDirectoryBox, kLinkEdit, ":\\欲创建链接的文件夹名",
                         "\\欲创建链接的文件夹名"};
constexpr Side kTargetSide{kTargetDriveBox, kTargetDirectoryBox, kTargetEdit, ":\\", "\\"};

// The drive box is read twice, as the edit box's suggestion is built after the directory box
// has moved to the drive's root.
void drive_changed(Services& services, const Side& side) {
  Text drive(services.read_property(side.drive_box));
  Text root(concat_texts(drive.get(), ":\\"));
  drive.reset();
  services.write_property(side.directory_box, root.get());
  root.reset();

  drive = Text(services.read_property(side.drive_box));
  Text suggestion(concat_texts(drive.get(), side.after_drive));
  drive.reset();
  services.write_property(side.edit_box, suggestion.get());
  suggestion.reset();
}

void folder_changed(Services& services, const Side& side) {
  Text path(services.read_property(side.directory_box));
  Text suggestion(concat_texts(path.get(), side.after_folder));
  path.reset();
  services.write_property(side.edit_box, suggestion.get());
  suggestion.reset();
}

}  // namespace

void on_window_created(Services&) {}

void on_link_drive_changed(Services& services) { drive_changed(services, kLinkSide); }
void on_target_drive_changed(Services& services) { drive_changed(services, kTargetSide); }
void on_link_folder_changed(Services& services) { folder_changed(services, kLinkSide); }
void on_target_folder_changed(Services& services) { folder_changed(services, kTargetSide); }

void on_ok_clicked(Services& services) {
  Text read(services.read_property(kLinkEdit));
  Text link_path(copy_text(read.get()));
  read.reset();
  read = Text(services.read_property(kTargetEdit));
  Text target_path(copy_text(read.get()));
  read.reset();

  Text command(link_command(link_path.get(), target_path.get()));
  link_path.reset();
  target_path.reset();
  // Whether the command processor started is not looked at: its console is where the user reads
  // any outcome, and a failed start shows nothing.
  services.start_process(command.get());
  command.reset();
}

void on_about_clicked(Services& services) {
  services.show_message_box(kAboutText, kAboutTitle, kAboutStyle);
}

}  // namespace krovelin
