#include "link/link_command.h"

#include "link/concat.h"

namespace krovelin {

bool needs_quotes(std::string_view path) noexcept {
  if (path.find('"') != std::string_view::npos) return false;
  return path.find_first_of(" \t&|<>^(),;=") != std::string_view::npos;
}

char* link_command(const char* link_path, const char* target_path) {
  const char* link_quote = needs_quotes(link_path ? link_path : "") ? "\"" : nullptr;
  const char* target_quote = needs_quotes(target_path ? target_path : "") ? "\"" : nullptr;
  return concat_texts(kLinkCommandStart, link_quote, link_path, link_quote, " ", target_quote,
                      target_path, target_quote);
}

}  // namespace krovelin
