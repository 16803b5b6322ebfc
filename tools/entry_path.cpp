#include "tools/entry_path.h"

namespace twpack {
namespace {

bool is_separator(char c) { return c == '/' || c == '\\'; }

bool is_ascii_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

}  // namespace

bool make_entry_path(const std::string &name, EntryPath &path, std::string &reason) {
  path = EntryPath{};
  if (name.empty()) {
    reason = "the name is empty";
    return false;
  }
  if (is_separator(name[0])) {
    reason = "the name starts at the root (leading separator)";
    return false;
  }
  if (name.size() >= 2 && is_ascii_letter(name[0]) && name[1] == ':') {
    reason = "the name has a drive prefix";
    return false;
  }
  if (is_separator(name.back())) {
    reason = "the name ends with a separator and names no file";
    return false;
  }

  std::vector<std::string> parts;
  std::string part;
  for (std::size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && !is_separator(name[i])) {
      part += name[i];
      continue;
    }
    if (part == "..") {
      reason = "the name has a \"..\" component";
      return false;
    }
    if (!part.empty() && part != ".") parts.push_back(part);
    part.clear();
  }
  if (parts.empty()) {
    reason = "the name names no file";
    return false;
  }
  path.file_name = parts.back();
  parts.pop_back();
  path.folders = std::move(parts);
  return true;
}

}  // namespace twpack
