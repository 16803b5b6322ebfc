// Helpers shared by the engine's tests: run the entry points on an archive
// made in memory and collect what they produced.
#ifndef TESTS_ARJ_ENGINE_TEST_UTIL_H
#define TESTS_ARJ_ENGINE_TEST_UTIL_H

#include <string>

#include "arj/arj_engine.h"
#include "tests/support/arj_fixtures.h"

namespace twtest {

struct Extraction {
  int result = -1;
  std::string name;
  bool written = false;  // the output file exists
  Bytes data;            // its bytes
};

inline Extraction extract_to(const std::string &archive_path, int entry, const std::string &output_path) {
  Extraction x;
  char name[256] = "unchanged";
  x.result = arj_extract_entry(archive_path.c_str(), entry, output_path.c_str(), name);
  x.name = name;
  x.written = file_exists(output_path);
  if (x.written) x.data = read_file(output_path);
  return x;
}

// Writes the archive into a fresh folder and extracts one entry to "OUT".
class ArchiveOnDisk {
 public:
  explicit ArchiveOnDisk(const Bytes &archive_bytes) : path_(dir_.write("TEST.ARJ", archive_bytes)) {}
  const std::string &path() const { return path_; }
  const TempDir &dir() const { return dir_; }
  int count() const { return arj_count_entries(path_.c_str()); }
  Extraction extract(int entry, const std::string &output_name = "OUT") const {
    return extract_to(path_, entry, dir_.file(output_name));
  }

 private:
  TempDir dir_;
  std::string path_;
};

// The one entry of an archive, extracted.
inline Extraction extract_single(const Entry &entry) { return ArchiveOnDisk(archive({entry})).extract(1); }

}  // namespace twtest

#endif  // TESTS_ARJ_ENGINE_TEST_UTIL_H
