#include <algorithm>
#include <string>
#include <vector>

#include "shell/text.h"
#include "shell/wide.h"
#include "ui/control_view.h"
#include "ui/drive_entry.h"

namespace krovelin {
namespace {

// The letter of the process's current drive, or 0 when the current folder is not on a lettered
// drive.
char process_drive() {
  const std::wstring folder = current_directory();
  return folder.empty() ? 0 : drive_letter(narrow(std::wstring_view(folder).substr(0, 1)));
}

struct DriveChoice {
  char letter;
  std::wstring text;
};

// The logical drives' root paths, "C:\" and so on, each ended by a null: at most 26 of them,
// four characters each with the null.
std::wstring drive_roots() {
  wchar_t roots[26 * 4 + 1] = {};
  const DWORD length = GetLogicalDriveStringsW(26 * 4, roots);
  return length <= 26 * 4 ? std::wstring(roots, length) : std::wstring();
}

std::vector<DriveChoice> read_drives() {
  std::vector<DriveChoice> drives;
  const std::wstring roots = drive_roots();
  for (std::size_t start = 0; start < roots.size();) {
    const std::wstring root(roots.c_str() + start);
    start += root.size() + 1;
    const char letter = drive_letter(narrow(root));
    if (letter == 0) continue;
    const auto type = static_cast<DriveType>(GetDriveTypeW(root.c_str()));
    std::string label;
    if (wants_volume_label(type)) {
      wchar_t name[MAX_PATH + 1] = {};
      if (GetVolumeInformationW(root.c_str(), name, MAX_PATH + 1, nullptr, nullptr, nullptr,
                                nullptr, 0)) {
        label = narrow(name);
      }
    }
    drives.push_back({letter, widen(drive_entry_text(letter, type, label))});
  }
  return drives;
}

// The drives as the system reports them when the first drive box is made. Both boxes show this
// one answer: asking again for the second box would only repeat it at start-up, and a drive
// attached while the program runs appears in neither box.
const std::vector<DriveChoice>& system_drives() {
  static const std::vector<DriveChoice> drives = read_drives();
  return drives;
}

class DriveBox final : public ControlView {
 public:
  using ControlView::ControlView;

  bool create(HWND parent) {
    // The height covers the dropped list too, so it gets room for a few entries.
    if (!create_window(parent, L"COMBOBOX", CBS_DROPDOWNLIST | CBS_AUTOHSCROLL | WS_VSCROLL, 0,
                       std::max(spec_.height, 80))) {
      return false;
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(gui_font()), FALSE);
    build_list();
    return true;
  }

  char* read_value() override {
    const char letter = current_drive_ ? current_drive_ : process_drive();
    const char text[2] = {letter, '\0'};
    return copy_text(text);
  }

  void write_value(const char* text) override {
    const char letter = (text && *text) ? drive_letter(text) : process_drive();
    select(letter);
  }

  void on_command(WORD code) override {
    // CBN_SELENDOK marks a completed choice, the entry already selected included; closing the
    // list without a choice sends CBN_SELENDCANCEL instead.
    if (code != CBN_SELENDOK) return;
    const LRESULT index = SendMessageW(window_, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR) {
      current_drive_ = static_cast<char>(SendMessageW(window_, CB_GETITEMDATA, index, 0));
    }
    raise(Event::drive_changed);
  }

 private:
  void build_list() {
    SendMessageW(window_, CB_RESETCONTENT, 0, 0);
    for (const DriveChoice& drive : system_drives()) {
      const LRESULT index =
          SendMessageW(window_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(drive.text.c_str()));
      if (index >= 0) SendMessageW(window_, CB_SETITEMDATA, index, drive.letter);
    }
    select(current_drive_ ? current_drive_ : process_drive());
  }

  // Selects the entry of `letter` and makes it the current drive; with no such entry nothing is
  // selected and no drive is current.
  void select(char letter) {
    const LRESULT count = SendMessageW(window_, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      if (static_cast<char>(SendMessageW(window_, CB_GETITEMDATA, i, 0)) == letter && letter) {
        SendMessageW(window_, CB_SETCURSEL, i, 0);
        current_drive_ = letter;
        return;
      }
    }
    SendMessageW(window_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    current_drive_ = 0;
  }

  char current_drive_ = 0;  // 0: none stored
};

}  // namespace

std::unique_ptr<ControlView> make_drive_box(const ControlSpec& spec, HWND parent) {
  auto box = std::make_unique<DriveBox>(spec);
  if (!box->create(parent)) return nullptr;
  return box;
}

}  // namespace krovelin
