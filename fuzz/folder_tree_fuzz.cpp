// FolderTree: the directory box's rules for loading a path and opening nodes, run through a
// program of operations and compared after each step with a plain model of the same rules.
//
// Input: operations, each an opcode byte and its operands.
//   op % 4 == 0  load: a length byte and the path's bytes
//   op % 4 == 1  set_subfolder_count: one byte
//   otherwise    open: a depth byte (taken modulo node count + 3, so path nodes, the subfolder
//                level and the impossible levels below it all come up) and a length-prefixed name
// The directory box only ever opens nodes it shows, whose texts are file names: a name that is
// empty or holds a backslash is skipped rather than opened.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "ui/folder_tree.h"

namespace {

using krovelin::FolderTree;
using Nodes = std::vector<std::string>;

// The nodes joined by single backslashes after the loaded path's leading backslashes.
std::string joined(const std::string& root, const Nodes& nodes) {
  std::string path = root;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (i > 0) path += '\\';
    path += nodes[i];
  }
  return path;
}

Nodes pieces(std::string_view path) {
  Nodes nodes;
  for (std::string_view piece : krovelin::split_path(path)) nodes.emplace_back(piece);
  return nodes;
}

struct State {
  std::string root;
  Nodes nodes;
  std::size_t subfolder_count;
  std::string current_path;

  explicit State(const FolderTree& tree)
      : root(tree.root()),
        nodes(tree.path_nodes()),
        subfolder_count(tree.subfolder_count()),
        current_path(tree.current_path()) {}
  bool operator==(const State&) const = default;
};

FolderTree::Opening expected_opening(const State& before, std::size_t depth) {
  const std::size_t count = before.nodes.size();
  if (depth + 1 == count) {
    return before.subfolder_count > 0 ? FolderTree::Opening::nothing : FolderTree::Opening::reopen;
  }
  if (depth + 1 < count) return FolderTree::Opening::trim_below;
  if (depth == count) return FolderTree::Opening::promote;
  return FolderTree::Opening::nothing;
}

void check_load(FolderTree& tree, std::string_view path) {
  tree.load(path);
  FUZZ_CHECK(tree.current_path() == path, tree.current_path());
  FUZZ_CHECK(tree.path_nodes() == pieces(path), path);
  FUZZ_CHECK(tree.subfolder_count() == 0, path);
  FUZZ_CHECK(tree.root() == path.substr(0, path.find_first_not_of('\\')), path);
}

void check_open(FolderTree& tree, std::size_t depth, std::string_view name) {
  const State before(tree);
  const FolderTree::Opening opening = tree.open(depth, name);
  const State after(tree);
  const std::string seen = before.current_path + " | opened at depth " + std::to_string(depth);

  FUZZ_CHECK(opening == expected_opening(before, depth), seen);
  if (opening == FolderTree::Opening::nothing) {
    FUZZ_CHECK(after == before, seen);
    return;
  }

  const auto kept = static_cast<std::ptrdiff_t>(std::min(depth + 1, before.nodes.size()));
  Nodes expected(before.nodes.begin(), before.nodes.begin() + kept);
  if (opening == FolderTree::Opening::promote) expected.emplace_back(name);
  FUZZ_CHECK(after.nodes == expected, seen);
  FUZZ_CHECK(after.current_path == joined(after.root, after.nodes), after.current_path);
  // The path a handler reads back splits into the very nodes the box shows.
  FUZZ_CHECK(pieces(after.current_path) == after.nodes, after.current_path);
  // Subfolders are listed afresh after every opening.
  FUZZ_CHECK(after.subfolder_count == 0, seen);

  const std::string old_path = joined(before.root, before.nodes);
  switch (opening) {
    case FolderTree::Opening::trim_below:
      FUZZ_CHECK(after.current_path.size() < old_path.size(), seen);
      FUZZ_CHECK(old_path.starts_with(after.current_path), seen);
      FUZZ_CHECK(old_path[after.current_path.size()] == '\\', seen);
      break;
    case FolderTree::Opening::promote:
      FUZZ_CHECK(after.current_path ==
                     old_path + (before.nodes.empty() ? "" : "\\") + std::string(name),
                 seen);
      break;
    case FolderTree::Opening::reopen:
      FUZZ_CHECK(after.current_path == old_path, seen);
      break;
    case FolderTree::Opening::nothing:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Reader in(data, size);
  FolderTree tree;
  while (!in.empty()) {
    const std::uint8_t op = in.byte();
    switch (op % 4) {
      case 0:
        check_load(tree, in.piece());
        break;
      case 1: {
        const std::size_t count = in.byte();
        tree.set_subfolder_count(count);
        FUZZ_CHECK(tree.subfolder_count() == count, tree.current_path());
        break;
      }
      default: {
        const std::size_t depth = in.byte() % (tree.path_nodes().size() + 3);
        const std::string_view name = in.piece();
        if (name.empty() || name.find('\\') != std::string_view::npos) break;
        check_open(tree, depth, name);
        break;
      }
    }
  }
  return 0;
}
