// clang-format off
#include <windows.h>
#include <commctrl.h>
#include <shlwapi.h>
// clang-format on

#include <algorithm>
#include <string>
#include <vector>

#include "shell/handles.h"
#include "shell/text.h"
#include "shell/wide.h"
#include "ui/control_view.h"
#include "ui/folder_tree.h"

namespace krovelin {
namespace {

// Image indexes in the FOLDERS strip: each folder image is followed by its selected form.
constexpr int kClosedFolder = 0;
constexpr int kClosedFolderSelected = 1;
constexpr int kOpenFolder = 2;
constexpr int kOpenFolderSelected = 3;
constexpr int kFoldersBitmapId = 2;
// Up to this many subfolder nodes, opening one removes the others one by one; past it, the
// level is cleared at once (one by one would take time growing with the square of the count).
constexpr std::size_t kSiblingsRemovedOneByOne = 2000;

struct ImageListTraits {
  using Value = HIMAGELIST;
  static Value empty() noexcept { return nullptr; }
  static bool valid(Value v) noexcept { return v != nullptr; }
  static void close(Value v) noexcept { ImageList_Destroy(v); }
};
using UniqueImageList = Unique<ImageListTraits>;

// The folder's subfolders in the order Explorer shows: case-insensitive, digits as numbers.
// Hidden and system folders count like all others; "." and ".." are not folders of their own.
std::vector<std::wstring> subfolders(std::string_view folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  UniqueFindHandle search(FindFirstFileExW(widen(search_pattern(folder)).c_str(), FindExInfoBasic,
                                           &found, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
  if (!search) return names;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    const std::wstring_view name(found.cFileName);
    if (name == L"." || name == L"..") continue;
    names.emplace_back(name);
  } while (FindNextFileW(search.get(), &found));
  std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
    return StrCmpLogicalW(a.c_str(), b.c_str()) < 0;
  });
  return names;
}

class DirectoryBox final : public ControlView {
 public:
  using ControlView::ControlView;

  bool create(HWND parent) {
    if (!create_window(parent, WC_TREEVIEWW, TVS_DISABLEDRAGDROP | TVS_SHOWSELALWAYS,
                       WS_EX_CLIENTEDGE, spec_.height)) {
      return false;
    }
    images_ = UniqueImageList(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 4, 0));
    UniqueBitmap strip(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kFoldersBitmapId), IMAGE_BITMAP, 0,
                   0, LR_CREATEDIBSECTION)));
    if (images_ && strip) {
      ImageList_AddMasked(images_.get(), strip.get(), RGB(255, 0, 255));
      SendMessageW(window_, TVM_SETIMAGELIST, TVSIL_NORMAL,
                   reinterpret_cast<LPARAM>(images_.get()));
    }
    load("");
    return true;
  }

  char* read_value() override { return copy_text(tree_.current_path()); }

  void write_value(const char* text) override { load(text ? text : ""); }

  LRESULT on_notify(const NMHDR& header) override {
    if (header.code == NM_DBLCLK) {
      open_selected();
      return TRUE;  // a double click never expands or collapses a node by itself
    }
    if (header.code == TVN_KEYDOWN &&
        reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey == VK_RETURN) {
      open_selected();
      return TRUE;  // Enter is no part of an incremental search
    }
    return 0;
  }

 private:
  void load(std::string_view path) {
    ++generation_;
    const DrawingHeld held(*this);
    SendMessageW(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    const std::string folder = path.empty() ? narrow(current_directory()) : std::string(path);
    tree_.load(folder);
    if (tree_.path_nodes().empty()) return;

    std::vector<HTREEITEM> chain;
    HTREEITEM parent = TVI_ROOT;
    for (const std::string& node : tree_.path_nodes()) {
      parent = insert(parent, widen(node), kOpenFolder, kOpenFolderSelected);
      chain.push_back(parent);
    }
    for (HTREEITEM node : chain) SendMessageW(window_, TVM_EXPAND, TVE_EXPAND,
                                              reinterpret_cast<LPARAM>(node));
    select(chain.back());
    list(chain.back());
  }

  HTREEITEM insert(HTREEITEM parent, const std::wstring& text, int image, int selected_image) {
    TVINSERTSTRUCTW item{};
    item.hParent = parent;
    item.hInsertAfter = TVI_LAST;
    item.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.item.pszText = const_cast<wchar_t*>(text.c_str());
    item.item.iImage = image;
    item.item.iSelectedImage = selected_image;
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(window_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  }

  void select(HTREEITEM node) {
    SendMessageW(window_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
  }

  void mark_expanded(HTREEITEM node) {
    TVITEMW expanded{};
    expanded.mask = TVIF_STATE;
    expanded.hItem = node;
    expanded.state = expanded.stateMask = TVIS_EXPANDED;
    SendMessageW(window_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&expanded));
  }

  // Drawing is held back over a whole load or opening and turned on again once, when the
  // outermost hold ends: an opening removes nodes, lets the handler run and lists, and any
  // drawing in between would hide and show the scroll bar and lay the nodes out more than once.
  // Holds nest, since a handler may rewrite the box, and so load it, inside an opening.
  class DrawingHeld {
   public:
    explicit DrawingHeld(DirectoryBox& box) : box_(box) {
      if (box_.drawing_holds_++ == 0) SendMessageW(box_.window_, WM_SETREDRAW, FALSE, 0);
    }
    ~DrawingHeld() {
      if (--box_.drawing_holds_ > 0) return;
      SendMessageW(box_.window_, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(box_.window_, nullptr, TRUE);
    }
    DrawingHeld(const DrawingHeld&) = delete;
    DrawingHeld& operator=(const DrawingHeld&) = delete;

   private:
    DirectoryBox& box_;
  };

  // Lists the current folder's subfolders under `node`: sorted once and appended in order, so
  // a folder of tens of thousands opens in n log n. Callers hold drawing.
  void list(HTREEITEM node) {
    const std::vector<std::wstring> names = subfolders(tree_.current_path());
    tree_.set_subfolder_count(names.size());
    if (names.empty()) return;
    // Marked expanded before the nodes go in, so that turning drawing back on lays them out
    // once; a TVM_EXPAND afterwards would lay out every node a second time.
    mark_expanded(node);
    for (const std::wstring& name : names) insert(node, name, kClosedFolder, kClosedFolderSelected);
  }

  // Removes every node below `node`. When a collapse removes the first visible node, Wine's tree
  // view (8.0) is left without one and reads through the null pointer, which ends the program:
  // so the view is first scrolled to put `node`, which stays, at the top (or as near as it goes).
  void remove_children(HTREEITEM node) {
    SendMessageW(window_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node));
    SendMessageW(window_, TVM_EXPAND, TVE_COLLAPSE | TVE_COLLAPSERESET,
                 reinterpret_cast<LPARAM>(node));
  }

  // Removes the other nodes of `node`'s level one by one, leaving `node` where it is, so the
  // tree keeps its scroll bar through the opening. Each removal looks its nodes up among all
  // the tree holds, so this is for a few hundred siblings, not for tens of thousands.
  void remove_siblings(HTREEITEM node) {
    SendMessageW(window_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(node));
    for (HTREEITEM sibling = next(next(node, TVGN_PARENT), TVGN_CHILD); sibling;) {
      const HTREEITEM following = next(sibling, TVGN_NEXT);
      if (sibling != node) {
        SendMessageW(window_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(sibling));
      }
      sibling = following;
    }
  }

  void set_images(HTREEITEM node, int image, int selected_image) {
    TVITEMW item{};
    item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    item.hItem = node;
    item.iImage = image;
    item.iSelectedImage = selected_image;
    SendMessageW(window_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }

  HTREEITEM next(HTREEITEM node, UINT relation) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(window_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(node)));
  }

  std::wstring node_text(HTREEITEM node) const {
    std::wstring text(1024, L'\0');
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = text.data();
    item.cchTextMax = static_cast<int>(text.size());
    SendMessageW(window_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
  }

  void open_selected() {
    HTREEITEM node = next(nullptr, TVGN_CARET);
    if (!node) return;
    std::size_t depth = 0;
    for (HTREEITEM up = next(node, TVGN_PARENT); up; up = next(up, TVGN_PARENT)) ++depth;
    const std::wstring text = node_text(node);

    const std::size_t subfolders = tree_.subfolder_count();
    const FolderTree::Opening opening = tree_.open(depth, narrow(text));
    if (opening == FolderTree::Opening::nothing) return;

    const DrawingHeld held(*this);
    switch (opening) {
      case FolderTree::Opening::trim_below:
        remove_children(node);
        break;
      case FolderTree::Opening::promote: {
        if (subfolders <= kSiblingsRemovedOneByOne) {
          remove_siblings(node);
          set_images(node, kOpenFolder, kOpenFolderSelected);
          break;
        }
        // Clearing the whole level takes one pass however many there are; the opened folder
        // then comes back as a path node.
        HTREEITEM parent = next(node, TVGN_PARENT);
        remove_children(parent);
        node = insert(parent, text, kOpenFolder, kOpenFolderSelected);
        mark_expanded(parent);
        select(node);
        break;
      }
      case FolderTree::Opening::nothing:
      case FolderTree::Opening::reopen:
        break;
    }

    const unsigned generation = generation_;
    raise(Event::directory_changed);
    // A handler that rewrote this box has reloaded it already.
    if (generation == generation_) list(node);
  }

  FolderTree tree_;
  UniqueImageList images_;
  unsigned generation_ = 0;
  int drawing_holds_ = 0;
};

}  // namespace

std::unique_ptr<ControlView> make_directory_box(const ControlSpec& spec, HWND parent) {
  auto box = std::make_unique<DirectoryBox>(spec);
  if (!box->create(parent)) return nullptr;
  return box;
}

}  // namespace krovelin
