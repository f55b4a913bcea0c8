#include "shell/module_path.h"

namespace krovelin {

std::optional<std::string_view> module_folder(std::string_view module_path) noexcept {
  const std::size_t last = module_path.rfind('\\');
  if (last == std::string_view::npos) return std::nullopt;
  const std::string_view folder = module_path.substr(0, last);
  if (folder.size() == 2 && folder[1] == ':') return module_path.substr(0, last + 1);
  return folder;
}

}  // namespace krovelin
