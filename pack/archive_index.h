// Reads the header blocks of a whole archive held in memory, strictly: the
// main header at offset 0, each entry header with a good CRC, packed data
// inside the archive, and the end marker. The installer builder checks a
// finished archive with it before it puts the archive behind a stub.
#ifndef PACK_ARCHIVE_INDEX_H
#define PACK_ARCHIVE_INDEX_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pack {

struct IndexedEntry {
  std::string name;  // as stored
  std::uint8_t min_version = 0;
  std::uint8_t header_flags = 0;
  int pack_method = 0;
  int content_type = 0;
  std::uint32_t packed_size = 0;
  std::uint32_t original_size = 0;
};

// Returns false with `error` for anything that is not a well-formed archive.
// `archive_length` gets the offset just past the end marker.
bool index_archive(const std::uint8_t *data, std::size_t size, std::vector<IndexedEntry> &entries,
                   std::size_t &archive_length, std::string &error);

}  // namespace pack

#endif  // PACK_ARCHIVE_INDEX_H
