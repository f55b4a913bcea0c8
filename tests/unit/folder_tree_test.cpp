#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/folder_tree.h"

namespace krovelin {
namespace {

using Nodes = std::vector<std::string>;
using Opening = FolderTree::Opening;

TEST(SplitPath, NonEmptyPiecesBetweenBackslashes) {
  struct Case {
    std::string_view path;
    std::vector<std::string_view> pieces;
  };
  const Case cases[] = {
      {"D:\\", {"D:"}},
      {"D:", {"D:"}},
      {"D:\\Data\\Old", {"D:", "Data", "Old"}},
      {"D:\\\\Data\\\\\\Old\\", {"D:", "Data", "Old"}},
      {"D:\\文档\\乗換", {"D:", "文档", "乗換"}},
      {"\\\\server\\share", {"server", "share"}},
      {"Data", {"Data"}},
      {"", {}},
      {"\\", {}},
      {"\\\\\\", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const std::vector<std::string_view> pieces = split_path(c.path);
    EXPECT_EQ(pieces, c.pieces);

    // Joined by single backslashes, the pieces give the path back without its empty pieces.
    std::string joined, path_without_backslashes;
    for (std::string_view piece : pieces) {
      EXPECT_FALSE(piece.empty());
      EXPECT_EQ(piece.find('\\'), std::string_view::npos);
      EXPECT_TRUE(piece.data() >= c.path.data() && piece.data() + piece.size() <= c.path.data() + c.path.size());
      if (!joined.empty()) joined += '\\';
      joined += piece;
    }
    for (char ch : c.path)
      if (ch != '\\') path_without_backslashes += ch;
    EXPECT_EQ(joined.find("\\\\"), std::string::npos);
    std::string joined_without_backslashes;
    for (char ch : joined)
      if (ch != '\\') joined_without_backslashes += ch;
    EXPECT_EQ(joined_without_backslashes, path_without_backslashes);
  }
}

TEST(SearchPattern, AddsABackslashOnlyWhereNeeded) {
  struct Case {
    std::string_view folder;
    std::string_view pattern;
  };
  const Case cases[] = {
      {"", "*.*"},
      {"D:", "D:\\*.*"},
      {"D:\\", "D:\\*.*"},
      {"D:\\Data", "D:\\Data\\*.*"},
      {"D:\\数据\\", "D:\\数据\\*.*"},
      {"D:\\乗", "D:\\乗\\*.*"},
      {"\\\\server\\share", "\\\\server\\share\\*.*"},
  };
  for (const Case& c : cases) EXPECT_EQ(search_pattern(c.folder), c.pattern) << c.folder;
}

TEST(FolderTree, LoadKeepsThePathAsWritten) {
  struct Case {
    std::string_view path;
    Nodes nodes;
  };
  const Case cases[] = {
      {"D:\\", {"D:"}},
      {"D:\\Data\\Old", {"D:", "Data", "Old"}},
      {"D:\\\\数据\\乗換\\", {"D:", "数据", "乗換"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    FolderTree tree;
    tree.set_subfolder_count(4);
    tree.load(c.path);
    EXPECT_EQ(tree.current_path(), c.path);
    EXPECT_EQ(tree.path_nodes(), c.nodes);
    EXPECT_EQ(tree.subfolder_count(), 0u);
  }
}

TEST(FolderTree, OpeningANode) {
  struct Case {
    const char* name;
    std::string_view loaded;
    std::size_t subfolders;
    std::size_t depth;
    std::string_view text;
    Opening opening;
    Nodes nodes;
    std::string_view path;
    std::size_t subfolders_after;
  };
  const Case cases[] = {
      {"current folder with subfolders", "D:\\Data\\Old", 2, 2, "Old", Opening::nothing,
       {"D:", "Data", "Old"}, "D:\\Data\\Old", 2},
      {"drive root with subfolders", "D:\\", 5, 0, "D:", Opening::nothing, {"D:"}, "D:\\", 5},
      {"current folder without subfolders", "D:\\Data\\Old", 0, 2, "Old", Opening::reopen,
       {"D:", "Data", "Old"}, "D:\\Data\\Old", 0},
      {"drive root without subfolders", "D:\\", 0, 0, "D:", Opening::reopen, {"D:"}, "D:", 0},
      {"reopened path is joined anew", "D:\\\\Data\\", 0, 1, "Data", Opening::reopen,
       {"D:", "Data"}, "D:\\Data", 0},
      {"top node from below", "D:\\Data\\Old", 3, 0, "D:", Opening::trim_below, {"D:"}, "D:", 0},
      {"middle node", "D:\\Data\\Old", 3, 1, "Data", Opening::trim_below, {"D:", "Data"},
       "D:\\Data", 0},
      {"subfolder", "D:\\Data", 4, 2, "新建文件夹", Opening::promote,
       {"D:", "Data", "新建文件夹"}, "D:\\Data\\新建文件夹", 0},
      {"subfolder of a drive root", "D:\\", 1, 1, "乗換", Opening::promote, {"D:", "乗換"},
       "D:\\乗換", 0},
      {"beyond the subfolders", "D:\\Data", 2, 3, "x", Opening::nothing, {"D:", "Data"},
       "D:\\Data", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FolderTree tree;
    tree.load(c.loaded);
    tree.set_subfolder_count(c.subfolders);
    EXPECT_EQ(tree.open(c.depth, c.text), c.opening);
    EXPECT_EQ(tree.path_nodes(), c.nodes);
    EXPECT_EQ(tree.current_path(), c.path);
    EXPECT_EQ(tree.subfolder_count(), c.subfolders_after);
  }
}

TEST(FolderTree, WalkingDownAndBackUp) {
  FolderTree tree;
  tree.load("D:\\");
  tree.set_subfolder_count(2);
  EXPECT_EQ(tree.open(1, "数据"), Opening::promote);
  EXPECT_EQ(tree.current_path(), "D:\\数据");
  tree.set_subfolder_count(1);
  EXPECT_EQ(tree.open(2, "乗"), Opening::promote);
  EXPECT_EQ(tree.current_path(), "D:\\数据\\乗");
  EXPECT_EQ(tree.open(2, "乗"), Opening::reopen);
  EXPECT_EQ(tree.current_path(), "D:\\数据\\乗");
  tree.set_subfolder_count(3);
  EXPECT_EQ(tree.open(2, "乗"), Opening::nothing);
  EXPECT_EQ(tree.open(1, "数据"), Opening::trim_below);
  EXPECT_EQ(tree.path_nodes(), (Nodes{"D:", "数据"}));
  EXPECT_EQ(tree.open(0, "D:"), Opening::trim_below);
  EXPECT_EQ(tree.current_path(), "D:");
  EXPECT_EQ(tree.open(0, "D:"), Opening::reopen);
  EXPECT_EQ(tree.current_path(), "D:");
}

}  // namespace
}  // namespace krovelin

// A network path keeps its leading backslashes when a node is opened, so the suggestion and the
// listing still name the share rather than a relative folder.
TEST(FolderTreeRoot, NetworkPathStaysNetworkPath) {
  krovelin::FolderTree tree;
  tree.load("\\\\server\\share\\tools");
  EXPECT_EQ(tree.root(), "\\\\");
  ASSERT_EQ(tree.open(3, "bin"), krovelin::FolderTree::Opening::promote);
  EXPECT_EQ(tree.current_path(), "\\\\server\\share\\tools\\bin");
  ASSERT_EQ(tree.open(1, ""), krovelin::FolderTree::Opening::trim_below);
  EXPECT_EQ(tree.current_path(), "\\\\server\\share");
  // Depths past the subfolder level name no node.
  EXPECT_EQ(tree.open(static_cast<std::size_t>(-1), "x"), krovelin::FolderTree::Opening::nothing);
  EXPECT_EQ(tree.current_path(), "\\\\server\\share");
}
