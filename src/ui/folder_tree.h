#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace krovelin {

// The non-empty pieces of a path between backslashes: "D:\" gives "D:", "D:\Data\Old" three.
// UTF-8 never holds a backslash byte inside a character, so no piece ends inside one.
std::vector<std::string_view> split_path(std::string_view path);

// The search pattern that lists a folder: the folder, a backslash unless it is empty or ends in
// one, and "*.*".
std::string search_pattern(std::string_view folder);

// The rules of a directory box without its window: the path nodes from the top down, how many
// subfolder nodes hang under the last one, and the current path.
class FolderTree {
 public:
  enum class Opening {
    nothing,     // the current folder with its subfolders shown
    trim_below,  // a path node above the current folder: everything below it goes
    promote,     // a subfolder node becomes the last path node, its siblings go
    reopen,      // the current folder without subfolders: opened again as it stands
  };

  // Stores the path as written and makes one path node of each of its pieces.
  void load(std::string_view path);

  // Opens the node at `depth` (0 is the top node; depth == path_nodes().size() is a subfolder
  // node, whose text is `text`). Unless nothing happens, the current path becomes the node texts
  // from the top down to the opened node, joined by single backslashes, after the backslashes
  // the loaded path began with: \\server\share stays a network path, not a relative one.
  Opening open(std::size_t depth, std::string_view text);

  void set_subfolder_count(std::size_t count) noexcept { subfolder_count_ = count; }
  std::size_t subfolder_count() const noexcept { return subfolder_count_; }
  const std::vector<std::string>& path_nodes() const noexcept { return path_nodes_; }
  const std::string& current_path() const noexcept { return current_path_; }
  // The backslashes the loaded path began with ("" for D:\Data, "\\" for a network path).
  const std::string& root() const noexcept { return root_; }

 private:
  std::string root_;
  std::vector<std::string> path_nodes_;
  std::size_t subfolder_count_ = 0;
  std::string current_path_;
};

}  // namespace krovelin
