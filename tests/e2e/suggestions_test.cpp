// The drive boxes, the directory boxes and the path suggestions they write, driven with the mouse
// and the keyboard. wine-run gives this prefix extra drives (KROVELIN_EXTRA_DRIVES=1): A: removable,
// D: fixed with the label 数据盘, M: RAM disk, N: network, R: an optical drive without a disc,
// besides the prefix's own C: and Z: (the Unix root, where the scratch folders live).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"

using namespace e2e;

namespace {

const std::wstring kPlaceholder = L"欲创建链接的文件夹名";
const std::wstring kLinkInitialText = L"文件夹必须不存在，稍后自动创建";

// One side of the window: its three controls and what its suggestions add to a drive or folder.
struct Side {
  const char* name;
  int drive_box;
  int directory_box;
  int edit;
  std::wstring after_folder;
};
const Side kLink{"link side", kLinkDriveBox, kLinkDirectoryBox, kLinkEdit, L"\\" + kPlaceholder};
const Side kTarget{"target side", kTargetDriveBox, kTargetDirectoryBox, kTargetEdit, L"\\"};
const Side& other(const Side& side) { return side.edit == kLinkEdit ? kTarget : kLink; }

std::vector<std::wstring> split(const std::wstring& path) {
  std::vector<std::wstring> pieces;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    if (end > start) pieces.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

// A directory box as lines a reader can compare: two blanks of indent per level, the text, and a
// mark for a path node (open-folder image) or an image pair that is neither kind; a node whose
// children are hidden is marked collapsed.
std::vector<std::wstring> tree_lines(Program& program, HWND tree) {
  const std::vector<Node> nodes = tree_nodes(program, tree);
  std::vector<std::wstring> lines;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Node& node = nodes[i];
    std::wstring line(static_cast<std::size_t>(node.depth) * 2, L' ');
    line += node.text;
    if (node.image == 2 && node.selected_image == 3) {
      line += L" [open]";
    } else if (node.image != 0 || node.selected_image != 1) {
      line += L" [images " + std::to_wstring(node.image) + L"/" +
              std::to_wstring(node.selected_image) + L"]";
    }
    if (i + 1 < nodes.size() && nodes[i + 1].depth > node.depth && !node.expanded)
      line += L" [collapsed]";
    lines.push_back(line);
  }
  return lines;
}

// What a directory box shows for `path` with `subfolders` listed under its last piece.
std::vector<std::wstring> expected_lines(const std::wstring& path,
                                         const std::vector<std::wstring>& subfolders) {
  std::vector<std::wstring> lines;
  std::size_t depth = 0;
  for (const std::wstring& piece : split(path))
    lines.push_back(std::wstring(2 * depth++, L' ') + piece + L" [open]");
  for (const std::wstring& name : subfolders) lines.push_back(std::wstring(2 * depth, L' ') + name);
  return lines;
}

std::wstring selected_text(Program& program, HWND tree) {
  for (const Node& node : tree_nodes(program, tree))
    if (node.selected) return node.text;
  return L"(none)";
}

// The node with `text` at `depth` (-1: any depth); the driver's find_node takes the first match.
Node node_at(Program& program, HWND tree, const std::wstring& text, int depth = -1) {
  for (const Node& node : tree_nodes(program, tree))
    if (node.text == text && (depth < 0 || node.depth == depth)) return node;
  ADD_FAILURE() << "no node " << utf8(text);
  return Node{};
}

void double_click_node(Program& program, HWND tree, const std::wstring& text, int depth = -1) {
  const Node node = node_at(program, tree, text, depth);
  if (node.item) click_node(program, tree, node, true);
}

// Selects the node with one click, then opens it with Enter while the box has the focus.
void enter_on_node(Program& program, HWND tree, const std::wstring& text, int depth = -1) {
  const Node node = node_at(program, tree, text, depth);
  if (!node.item) return;
  click_node(program, tree, node, false);
  press(VK_RETURN);
  program.settle();
}

// Replaces an edit box's whole text by typing, as a person does.
void retype(Program& program, HWND edit, const std::wstring& text) {
  click(edit);
  press(VK_END);
  press(VK_HOME, {VK_SHIFT});
  type_text(text);
  program.settle();
}

bool edit_reads(HWND edit, const std::wstring& text) {
  return wait_until([&] { return window_text(edit) == text; }, std::chrono::seconds(5));
}

// The drop-down list of a drive box while it is open.
HWND dropped_list(Program& program) {
  HWND list = nullptr;
  wait_until(
      [&] {
        const std::vector<HWND> found = top_windows(program.pid(), L"ComboLBox");
        list = found.empty() ? nullptr : found.front();
        return list != nullptr;
      },
      std::chrono::seconds(5));
  return list;
}

bool list_is_dropped(HWND combo) { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

int entry_of(HWND combo, wchar_t letter) {
  const auto count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i)
    if (SendMessageW(combo, CB_GETITEMDATA, i, 0) == letter) return i;
  return -1;
}

// Drops the drive box's list with a click and clicks the entry of `letter`.
void choose_drive(Program& program, HWND combo, wchar_t letter) {
  const int index = entry_of(combo, letter);
  ASSERT_GE(index, 0) << "no entry for " << static_cast<char>(letter);
  click(combo);
  HWND list = dropped_list(program);
  ASSERT_NE(list, nullptr) << "the list did not drop";
  const auto item_height = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client{};
  GetClientRect(list, &client);
  const int visible = std::max(1, static_cast<int>(client.bottom / item_height));
  auto top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  // Like TVM_ENSUREVISIBLE before a node is clicked: scrolling is not what is tested, and the
  // mouse wheel would move the selection of a combo box.
  if (index < top || index >= top + visible) {
    SendMessageW(list, LB_SETTOPINDEX, index, 0);
    top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  }
  click_client(list, {client.right / 2, (index - top) * item_height + item_height / 2});
  program.settle();
  EXPECT_TRUE(wait_until([&] { return !list_is_dropped(combo); }, std::chrono::seconds(5)));
}

std::wstring selected_entry(HWND combo) {
  const int index = combo_selection(combo);
  if (index < 0) return L"(none)";
  return combo_entries(combo)[static_cast<std::size_t>(index)];
}

// Everything a side shows, to prove that acting on the other side leaves it alone.
struct SideState {
  std::wstring edit;
  std::wstring drive;
  std::vector<std::wstring> tree;
  std::wstring selected;
  bool operator==(const SideState&) const = default;
};
SideState state_of(Program& program, const Side& side) {
  HWND tree = program.control(side.directory_box);
  return {window_text(program.control(side.edit)), selected_entry(program.control(side.drive_box)),
          tree_lines(program, tree), selected_text(program, tree)};
}

// The subfolders of a drive's root in the file system's own order.
std::vector<std::wstring> subfolders_of_root(wchar_t letter) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const std::wstring pattern = std::wstring(1, letter) + L":\\*.*";
  HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
      names.push_back(name);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

// The box shows drive `letter`'s top node alone with the root's subfolders under it. Z:\ is the
// Unix root, whose names are not chosen here: their order is left to the start folder's tests.
void expect_root_listing(Program& program, HWND tree, wchar_t letter) {
  std::vector<std::wstring> lines = tree_lines(program, tree);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), std::wstring(1, letter) + L": [open]");
  lines.erase(lines.begin());
  std::vector<std::wstring> expected;
  for (const std::wstring& name : subfolders_of_root(letter)) expected.push_back(L"  " + name);
  std::sort(lines.begin(), lines.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(lines, expected);
  EXPECT_NE(std::find(lines.begin(), lines.end(), L"  work"), lines.end());
}

// The start folder: krovelin.exe in a scratch folder with subfolders of every kind the boxes
// must list (and must not), so that it becomes the folder both directory boxes show.
struct StartFolder {
  std::wstring path;
  std::wstring exe;
};

// The order Explorer shows: case-insensitive, digits as numbers, Latin before Chinese.
const std::vector<std::wstring> kStartSubfolders = {
    L"alpha", L"Beta", L"Data", L"Disc 2", L"Disc 10", L"empty", L"System", L"文档", L"隐藏",
};

StartFolder make_start_folder(std::wstring_view name) {
  StartFolder start;
  start.path = scratch_folder(name);
  // Made out of order, so that an unsorted listing shows.
  for (const wchar_t* folder : {L"隐藏", L"empty", L"Disc 10", L"System", L"Beta", L"Disc 2",
                                L"文档\\报告", L"alpha", L"Data\\Old"}) {
    make_folder(start.path + L"\\" + folder);
  }
  write_file(start.path + L"\\readme.txt", "a file, never a node\n");
  write_file(start.path + L"\\Data\\notes.txt", "a file, never a node\n");
  const std::wstring hidden = start.path + L"\\隐藏";
  const std::wstring system = start.path + L"\\System";
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
  // Wine keeps these attributes in extended attributes of the Linux file system.
  EXPECT_TRUE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN)
      << "the file system kept no hidden attribute";
  EXPECT_TRUE(GetFileAttributesW(system.c_str()) & FILE_ATTRIBUTE_SYSTEM)
      << "the file system kept no system attribute";
  start.exe = start.path + L"\\krovelin.exe";
  copy_file(krovelin_exe(), start.exe);
  return start;
}

// D:\ holds Data\Old and nothing else, so that its listing is known.
void make_drive_d() {
  make_folder(L"D:\\Data\\Old");
  ASSERT_EQ(subfolders_of_root(L'D'), std::vector<std::wstring>{L"Data"});
}

}  // namespace

TEST(Suggestions, DriveBoxesListEveryDriveByType) {
  StartFolder start = make_start_folder(L"entries");
  Program program(start.exe, L"C:\\windows");
  ASSERT_NE(program.window(), nullptr);

  wchar_t roots[512] = {};
  GetLogicalDriveStringsW(512, roots);
  std::wstring letters;
  for (const wchar_t* root = roots; *root; root += wcslen(root) + 1) letters += root[0];
  ASSERT_EQ(letters, L"ACDMNRZ") << "wine-run did not add the extra drives";
  // Labels that only a fixed disk's entry may show.
  for (const auto& [root, label] : {std::pair{L"A:\\", L"FLOPPY"}, std::pair{L"N:\\", L"SHARE"}}) {
    wchar_t name[MAX_PATH + 1] = {};
    GetVolumeInformationW(root, name, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0);
    EXPECT_STREQ(name, label) << "wine-run gave " << utf8(root) << " no label";
  }

  const std::vector<std::wstring> expected = {
      L"A:",                      // removable: nothing after the colon
      L"C: （硬盘）",             // fixed, no label: nothing after the parenthesis
      L"D: （硬盘） 数据盘",      // fixed with a label
      L"M: （内存虚拟驱动器）",
      L"N: （网络驱动器）",
      L"R: （光驱）",             // optical without a disc, never asked for a label
      L"Z: （硬盘）",
  };
  for (const Side* side : {&kLink, &kTarget}) {
    SCOPED_TRACE(side->name);
    HWND combo = program.control(side->drive_box);
    EXPECT_EQ(combo_entries(combo), expected);
    for (std::size_t i = 0; i < letters.size(); ++i)
      EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, i, 0), letters[i]) << "entry " << i;
  }
}

// Started from another folder, the program shows its own folder on both sides and no handler
// has run yet.
TEST(Suggestions, StartUpShowsTheProgramsFolder) {
  StartFolder start = make_start_folder(L"start");
  Program program(start.exe, L"C:\\windows");
  ASSERT_NE(program.window(), nullptr);

  EXPECT_EQ(window_text(program.control(kLinkEdit)), kLinkInitialText);
  EXPECT_EQ(window_text(program.control(kTargetEdit)), L"");
  for (const Side* side : {&kLink, &kTarget}) {
    SCOPED_TRACE(side->name);
    HWND combo = program.control(side->drive_box);
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, combo_selection(combo), 0), L'Z');
    HWND tree = program.control(side->directory_box);
    // Hidden and system folders are listed; files never.
    EXPECT_EQ(tree_lines(program, tree), expected_lines(start.path, kStartSubfolders));
    EXPECT_EQ(selected_text(program, tree), split(start.path).back());
    const auto style = static_cast<DWORD>(GetWindowLongW(tree, GWL_STYLE));
    EXPECT_EQ(style & (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_EDITLABELS), 0u);
  }
}

// Each choice writes its own side's directory box and edit box and nothing of the other side.
// R: is an optical drive without a disc: its root and suggestion are written all the same and the
// box shows the drive's node with nothing under it.
TEST(Suggestions, ChoosingADriveMovesOnlyItsSide) {
  make_drive_d();
  StartFolder start = make_start_folder(L"drives");
  Program program(start.exe);
  ASSERT_NE(program.window(), nullptr);

  struct Case {
    const Side* side;
    wchar_t letter;
    std::wstring edit;
    std::vector<std::wstring> subfolders;
  };
  const std::vector<Case> cases = {
      {&kLink, L'D', L"D:\\" + kPlaceholder, {L"Data"}},
      {&kTarget, L'R', L"R:\\", {}},
      {&kTarget, L'D', L"D:\\", {L"Data"}},
      {&kLink, L'R', L"R:\\" + kPlaceholder, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.side->name << ", drive " << static_cast<char>(c.letter));
    const SideState untouched = state_of(program, other(*c.side));
    HWND combo = program.control(c.side->drive_box);
    HWND tree = program.control(c.side->directory_box);
    choose_drive(program, combo, c.letter);
    EXPECT_TRUE(edit_reads(program.control(c.side->edit), c.edit))
        << utf8(window_text(program.control(c.side->edit)));
    EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, combo_selection(combo), 0), c.letter);
    EXPECT_EQ(tree_lines(program, tree),
              expected_lines(std::wstring(1, c.letter) + L":\\", c.subfolders));
    EXPECT_EQ(selected_text(program, tree), std::wstring(1, c.letter) + L":");
    EXPECT_EQ(state_of(program, other(*c.side)), untouched);
  }
}

// The drive already selected, chosen again, is a choice like any other: it overwrites what the
// user typed and takes the box back to the drive's root.
TEST(Suggestions, ChoosingTheSameDriveAgainRewritesTheSuggestion) {
  StartFolder start = make_start_folder(L"same");
  Program program(start.exe);
  ASSERT_NE(program.window(), nullptr);

  for (const Side* side : {&kLink, &kTarget}) {
    SCOPED_TRACE(side->name);
    HWND edit = program.control(side->edit);
    HWND tree = program.control(side->directory_box);
    retype(program, edit, L"typed by hand");
    ASSERT_EQ(window_text(edit), L"typed by hand");
    choose_drive(program, program.control(side->drive_box), L'Z');
    EXPECT_TRUE(edit_reads(edit, side->edit == kLinkEdit ? L"Z:\\" + kPlaceholder : L"Z:\\"))
        << utf8(window_text(edit));
    expect_root_listing(program, tree, L'Z');
  }
}

// Closing the list without choosing (a click on the box again, or anywhere else) is no choice.
TEST(Suggestions, ClosingTheListWithoutAChoiceRaisesNothing) {
  StartFolder start = make_start_folder(L"cancel");
  Program program(start.exe);
  ASSERT_NE(program.window(), nullptr);
  HWND combo = program.control(kLinkDriveBox);
  const SideState before = state_of(program, kLink);
  const SideState target_before = state_of(program, kTarget);

  const std::vector<std::pair<const char*, HWND>> closers = {
      {"the box itself", combo},
      {"a label", program.control(kLinkLabel)},
      {"the other directory box", program.control(kTargetDirectoryBox)},
  };
  for (const auto& [where, closer] : closers) {
    SCOPED_TRACE(where);
    click(combo);
    ASSERT_TRUE(wait_until([&] { return list_is_dropped(combo); }, std::chrono::seconds(5)));
    if (closer == program.control(kTargetDirectoryBox)) {
      // A click on empty space below the nodes, so that no node is selected either.
      const RECT client = client_rect_on_screen(closer);
      click_at({(client.left + client.right) / 2, client.bottom - 3});
    } else {
      click(closer);
    }
    program.settle();
    EXPECT_TRUE(wait_until([&] { return !list_is_dropped(combo); }, std::chrono::seconds(5)));
    EXPECT_EQ(state_of(program, kLink), before);
  }
  EXPECT_EQ(state_of(program, kTarget).edit, target_before.edit);
}

// The keyboard on a drive box. Wine's combo box sends CBN_SELENDOK for every selection the
// keyboard makes on a closed drop-down list (Up, Down, a letter): it rolls the list "up" with a
// completed choice whether or not it was dropped. The program counts each CBN_SELENDOK as a
// completed choice, so each such key press is a choice. With the list dropped (F4), the arrows
// only move the highlight and Enter completes the choice.
TEST(Suggestions, KeyboardChoicesOfADrive) {
  make_drive_d();
  StartFolder start = make_start_folder(L"keyboard");
  Program program(start.exe);
  ASSERT_NE(program.window(), nullptr);
  HWND combo = program.control(kLinkDriveBox);
  HWND edit = program.control(kLinkEdit);
  HWND tree = program.control(kLinkDirectoryBox);
  press(VK_TAB);  // from 编辑框1 to 驱动器框1
  ASSERT_EQ(focused_control(program.window()), combo);

  press(VK_UP);  // Z: to R:, the list closed
  EXPECT_TRUE(edit_reads(edit, L"R:\\" + kPlaceholder)) << utf8(window_text(edit));
  EXPECT_EQ(tree_lines(program, tree), expected_lines(L"R:\\", {}));
  EXPECT_FALSE(list_is_dropped(combo));

  press(VK_DOWN);  // back to Z:
  EXPECT_TRUE(edit_reads(edit, L"Z:\\" + kPlaceholder)) << utf8(window_text(edit));

  press(VK_F4);
  ASSERT_TRUE(wait_until([&] { return list_is_dropped(combo); }, std::chrono::seconds(5)));
  for (int i = 0; i < 4; ++i) press(VK_UP);  // Z: R: N: M: to D:, highlighted only
  program.settle();
  EXPECT_EQ(window_text(edit), L"Z:\\" + kPlaceholder);
  press(VK_RETURN);
  EXPECT_TRUE(edit_reads(edit, L"D:\\" + kPlaceholder)) << utf8(window_text(edit));
  EXPECT_FALSE(list_is_dropped(combo));
  EXPECT_EQ(tree_lines(program, tree), expected_lines(L"D:\\", {L"Data"}));

  press('Z');  // the closed list again: a letter picks the entry it starts
  EXPECT_TRUE(edit_reads(edit, L"Z:\\" + kPlaceholder)) << utf8(window_text(edit));
  expect_root_listing(program, tree, L'Z');
}

// The documented path texts, on a drive's top node and deeper, by double click and by Enter.
TEST(Suggestions, OpeningNodesOnADrive) {
  make_drive_d();
  StartFolder start = make_start_folder(L"drive-d");
  Program program(start.exe);
  ASSERT_NE(program.window(), nullptr);

  for (const Side* side : {&kLink, &kTarget}) {
    SCOPED_TRACE(side->name);
    HWND edit = program.control(side->edit);
    HWND tree = program.control(side->directory_box);
    choose_drive(program, program.control(side->drive_box), L'D');
    const std::wstring drive_suggestion = window_text(edit);

    double_click_node(program, tree, L"Data");
    EXPECT_TRUE(edit_reads(edit, L"D:\\Data" + side->after_folder)) << utf8(window_text(edit));
    EXPECT_EQ(tree_lines(program, tree), expected_lines(L"D:\\Data", {L"Old"}));
    enter_on_node(program, tree, L"Old");
    EXPECT_TRUE(edit_reads(edit, L"D:\\Data\\Old" + side->after_folder))
        << utf8(window_text(edit));
    EXPECT_EQ(tree_lines(program, tree), expected_lines(L"D:\\Data\\Old", {}));
    EXPECT_EQ(selected_text(program, tree), L"Old");

    // The top node gives "D:" without a backslash: the same suggestion as choosing the drive.
    double_click_node(program, tree, L"D:");
    EXPECT_TRUE(edit_reads(edit, drive_suggestion)) << utf8(window_text(edit));
    EXPECT_EQ(tree_lines(program, tree), expected_lines(L"D:", {L"Data"}));
    EXPECT_EQ(selected_text(program, tree), L"D:");
  }
}

// Walking through the start folder's tree on one side: what each opening does to the nodes and
// the suggestion, and what only selects.
TEST(Suggestions, OpeningNodesInTheStartFolder) {
  StartFolder start = make_start_folder(L"walk");
  Program program(start.exe);
  ASSERT_NE(program.window(), nullptr);
  HWND edit = program.control(kLinkEdit);
  HWND tree = program.control(kLinkDirectoryBox);
  const SideState target_before = state_of(program, kTarget);
  const std::wstring top = start.path;
  const int depth = static_cast<int>(split(top).size());  // of the subfolder nodes

  // A single click and the arrow keys only select.
  click_node(program, tree, node_at(program, tree, L"Data"), false);
  press(VK_DOWN);
  program.settle();
  EXPECT_EQ(selected_text(program, tree), L"Disc 2");
  EXPECT_EQ(window_text(edit), kLinkInitialText);
  EXPECT_EQ(tree_lines(program, tree), expected_lines(top, kStartSubfolders));

  // The current folder with its subfolders shown: nothing, neither event nor collapse.
  retype(program, edit, L"my own name");
  double_click_node(program, tree, split(top).back());
  enter_on_node(program, tree, split(top).back());
  EXPECT_EQ(window_text(edit), L"my own name");
  EXPECT_EQ(tree_lines(program, tree), expected_lines(top, kStartSubfolders));

  // A subfolder becomes the last path node; its siblings go, its own subfolders come.
  enter_on_node(program, tree, L"文档");
  EXPECT_TRUE(edit_reads(edit, top + L"\\文档\\" + kPlaceholder)) << utf8(window_text(edit));
  EXPECT_EQ(tree_lines(program, tree), expected_lines(top + L"\\文档", {L"报告"}));
  EXPECT_EQ(selected_text(program, tree), L"文档");

  // A path node above the current folder: everything below goes, its subfolders come afresh.
  double_click_node(program, tree, split(top).back(), depth - 1);
  EXPECT_TRUE(edit_reads(edit, top + L"\\" + kPlaceholder)) << utf8(window_text(edit));
  EXPECT_EQ(tree_lines(program, tree), expected_lines(top, kStartSubfolders));
  EXPECT_EQ(selected_text(program, tree), split(top).back());

  // An empty folder, opened, then opened again: the same path once more rewrites the box.
  double_click_node(program, tree, L"empty");
  EXPECT_TRUE(edit_reads(edit, top + L"\\empty\\" + kPlaceholder)) << utf8(window_text(edit));
  EXPECT_EQ(tree_lines(program, tree), expected_lines(top + L"\\empty", {}));
  retype(program, edit, L"my own name");
  enter_on_node(program, tree, L"empty");
  EXPECT_TRUE(edit_reads(edit, top + L"\\empty\\" + kPlaceholder)) << utf8(window_text(edit));
  EXPECT_EQ(tree_lines(program, tree), expected_lines(top + L"\\empty", {}));

  // A hidden folder opens like any other.
  double_click_node(program, tree, split(top).back(), depth - 1);
  double_click_node(program, tree, L"隐藏");
  EXPECT_TRUE(edit_reads(edit, top + L"\\隐藏\\" + kPlaceholder)) << utf8(window_text(edit));

  // The top node of the drive.
  double_click_node(program, tree, L"Z:", 0);
  EXPECT_TRUE(edit_reads(edit, L"Z:\\" + kPlaceholder)) << utf8(window_text(edit));
  expect_root_listing(program, tree, L'Z');

  EXPECT_EQ(state_of(program, kTarget), target_before);
}

// A person picks both paths, names the new folder, presses 确定: the command processor gets the
// junction command, with the paths that need it in quotes.
TEST(Suggestions, FullJourneyToTheCommand) {
  make_drive_d();
  StartFolder start = make_start_folder(L"journey");
  const std::wstring captures = fresh_capture_file(L"journey");
  Program program(start.exe, L"", capture_environment(captures));
  ASSERT_NE(program.window(), nullptr);
  HWND link_edit = program.control(kLinkEdit);
  HWND target_edit = program.control(kTargetEdit);

  choose_drive(program, program.control(kLinkDriveBox), L'D');
  double_click_node(program, program.control(kLinkDirectoryBox), L"Data");
  ASSERT_TRUE(edit_reads(link_edit, L"D:\\Data\\" + kPlaceholder)) << utf8(window_text(link_edit));

  double_click_node(program, program.control(kTargetDirectoryBox), L"Disc 10");
  const std::wstring target = start.path + L"\\Disc 10\\";
  ASSERT_TRUE(edit_reads(target_edit, target)) << utf8(window_text(target_edit));

  // The placeholder is the last ten characters: select them from the end and type over them.
  click(link_edit);
  press(VK_END);
  for (std::size_t i = 0; i < kPlaceholder.size(); ++i) press(VK_LEFT, {VK_SHIFT});
  type_text(L"Tom & Jerry");
  ASSERT_TRUE(edit_reads(link_edit, L"D:\\Data\\Tom & Jerry")) << utf8(window_text(link_edit));

  click(program.control(kOkButton));
  std::vector<Capture> started;
  ASSERT_TRUE(wait_until([&] { return !(started = read_captures(captures)).empty(); }));
  ASSERT_EQ(started.size(), 1u);
  EXPECT_EQ(started[0].command_line,
            L"CMD /k MKLINK /d /j \"D:\\Data\\Tom & Jerry\" \"" + target + L"\"");
}
