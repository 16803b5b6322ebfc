// Turns an entry's name into a path below the extraction folder, or says why
// it cannot be one. Both '/' and '\' separate folders: archives made on
// either kind of system must be read safely on both.
#ifndef TOOLS_ENTRY_PATH_H
#define TOOLS_ENTRY_PATH_H

#include <string>
#include <vector>

namespace twpack {

struct EntryPath {
  std::vector<std::string> folders;  // below the extraction folder, outermost first
  std::string file_name;
};

// Returns false and sets `reason` for a name that would land outside the
// extraction folder (a ".." component, a drive prefix, a leading separator)
// or that names no file.
bool make_entry_path(const std::string &name, EntryPath &path, std::string &reason);

}  // namespace twpack

#endif  // TOOLS_ENTRY_PATH_H
