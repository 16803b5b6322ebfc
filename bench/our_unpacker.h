// Our engine as a contender: an archive unpacked entry by entry into files
// through arj_extract_entry, or into memory through one walk with a sink
// that keeps the bytes.
#ifndef BENCH_OUR_UNPACKER_H
#define BENCH_OUR_UNPACKER_H

#include <cstdint>
#include <string>
#include <vector>

#include "arj/archive_reader.h"

namespace bench {

// What the archive holds, read with one walk that extracts nothing.
struct ArchiveListing {
  std::vector<arj::EntryInfo> entries;
  std::uint64_t packed_bytes() const;    // sum of the entries' packed sizes
  std::uint64_t original_bytes() const;  // sum of the entries' original sizes
};

bool list_archive(const std::string &archive_path, ArchiveListing &listing, std::string &error);

// Extracts every entry with one arj_extract_entry call each into
// `output_folder` under its own name.
bool unpack_to_files(const std::string &archive_path, const ArchiveListing &listing,
                     const std::string &output_folder, std::string &error);

// Extracts every entry into memory in one walk. The buffers are kept between
// runs so that later runs measure the engine, not the allocator.
class MemoryUnpacker {
 public:
  bool unpack(const std::string &archive_path, std::string &error);
  const std::vector<std::vector<unsigned char>> &outputs() const { return outputs_; }
  std::uint64_t output_bytes() const;

 private:
  std::vector<std::vector<unsigned char>> outputs_;
};

// The bytes an entry's output must hold given the file it was packed from:
// the same bytes for a binary entry; for a text entry, bit 7 cleared (unless
// packed on UNIX) and each LF written as CR LF.
std::vector<unsigned char> expected_output(const arj::EntryInfo &info, const std::vector<unsigned char> &original);

}  // namespace bench

#endif  // BENCH_OUR_UNPACKER_H
