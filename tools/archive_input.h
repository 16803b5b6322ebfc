// Finds the archive inside what the user named: an archive file, or an
// installer executable that carries its archive after the stub image.
#ifndef TOOLS_ARCHIVE_INPUT_H
#define TOOLS_ARCHIVE_INPUT_H

#include <cstdint>
#include <string>

#include "pack/installer_layout.h"

namespace twpack {

struct ArchiveInput {
  std::string path;
  long start_offset = 0;       // where the search for the first header block begins
  bool installer = false;      // the file begins with "MZ"
  pack::PayloadDescriptor descriptor;  // meaningful for an installer only
  std::uint64_t file_length = 0;
};

// Opens `path` and, for an installer, reads its descriptor and checks that the
// archive is the last thing in the file. On failure returns false and sets
// `error` to the problem (without the path).
bool open_archive_input(const std::string &path, ArchiveInput &input, std::string &error);

// "standard", "silent", or the value for anything the installer treats like standard.
std::string run_mode_text(std::int8_t run_mode);

}  // namespace twpack

#endif  // TOOLS_ARCHIVE_INPUT_H
