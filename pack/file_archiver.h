// Makes a whole archive from files on disk: checks the names, reads each
// file, packs it and writes it through an ArchiveWriter.
#ifndef PACK_FILE_ARCHIVER_H
#define PACK_FILE_ARCHIVER_H

#include <cstdint>
#include <string>
#include <vector>

#include "pack/archive_writer.h"
#include "pack/input_files.h"

namespace pack {

// Hears how the work goes, for a progress display.
class ArchiveObserver {
 public:
  virtual ~ArchiveObserver() = default;
  virtual void begin_entry(int number, const std::string &name) = 0;
  virtual void add_bytes(std::uint64_t count) = 0;
};

// Why these files cannot go into one archive together, or "" (with
// `failed_path` naming the file): bad names, names that only differ in
// letter case (they would overwrite each other when extracted into one
// folder), files too large for the reader.
std::string input_files_problem(const std::vector<InputFile> &files, std::string &failed_path);

// Writes the archive of `files` to `sink`. On failure returns false with
// `error` and `failed_path`, the input file at fault (empty when writing the
// archive failed).
bool archive_files(const std::vector<InputFile> &files, ByteSink &sink, const std::string &archive_name,
                   int method, int level, ArchiveObserver *observer, std::string &failed_path, std::string &error);

}  // namespace pack

#endif  // PACK_FILE_ARCHIVER_H
