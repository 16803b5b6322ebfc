// The files an archive is made from: each named file, and the files directly
// inside each named folder, entered under their plain file names.
#ifndef PACK_INPUT_FILES_H
#define PACK_INPUT_FILES_H

#include <cstdint>
#include <string>
#include <vector>

namespace pack {

struct InputFile {
  std::string path;           // as found on disk
  std::string name;           // the entry name: the file's own name
  std::uint64_t size = 0;
  std::uint32_t dos_time = 0; // time of last change
};

// Collects the files for `paths` in the order given (a folder's files sorted
// by name). A folder inside a folder is refused: entries hold plain names.
// On failure returns false with `failed_path` and `error`.
bool collect_input_files(const std::vector<std::string> &paths, std::vector<InputFile> &files,
                         std::string &failed_path, std::string &error);

// Reads a whole file. On failure returns false with `error`.
bool read_whole_file(const std::string &path, std::vector<std::uint8_t> &bytes, std::string &error);

}  // namespace pack

#endif  // PACK_INPUT_FILES_H
