#include "ui/folder_tree.h"

namespace krovelin {

std::vector<std::string_view> split_path(std::string_view path) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) pieces.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return pieces;
}

std::string search_pattern(std::string_view folder) {
  std::string pattern(folder);
  if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
  pattern += "*.*";
  return pattern;
}

void FolderTree::load(std::string_view path) {
  current_path_.assign(path);
  root_.assign(path.substr(0, path.find_first_not_of('\\')));
  path_nodes_.clear();
  for (std::string_view piece : split_path(path)) path_nodes_.emplace_back(piece);
  subfolder_count_ = 0;
}

FolderTree::Opening FolderTree::open(std::size_t depth, std::string_view text) {
  const std::size_t count = path_nodes_.size();
  Opening opening;
  if (depth > count) return Opening::nothing;
  if (depth == count) {
    path_nodes_.emplace_back(text);
    opening = Opening::promote;
  } else if (depth + 1 == count) {
    if (subfolder_count_ > 0) return Opening::nothing;
    opening = Opening::reopen;
  } else {
    path_nodes_.resize(depth + 1);
    opening = Opening::trim_below;
  }
  subfolder_count_ = 0;
  current_path_ = root_;
  for (std::size_t i = 0; i < path_nodes_.size(); ++i) {
    if (i > 0) current_path_ += '\\';
    current_path_ += path_nodes_[i];
  }
  return opening;
}

}  // namespace krovelin
