#include "pack/archive_index.h"

#include "arj/crc32.h"
#include "arj/format.h"

namespace pack {
namespace {

std::uint32_t le16(const std::uint8_t *p) { return p[0] | (static_cast<std::uint32_t>(p[1]) << 8); }
std::uint32_t le32(const std::uint8_t *p) {
  return le16(p) | (le16(p + 2) << 16);
}

// Reads one header block at `at`. Returns 1 for a header, 0 for the end
// marker, -1 on a problem (with `error`).
int read_block(const std::uint8_t *data, std::size_t size, std::size_t &at, IndexedEntry &entry,
               std::string &error) {
  const std::string where = " at offset " + std::to_string(at);
  if (size - at < 4 || data[at] != arj::kMarkerByte0 || data[at + 1] != arj::kMarkerByte1) {
    error = "no header block" + where;
    return -1;
  }
  const std::size_t basic_size = le16(data + at + 2);
  if (basic_size == 0) {
    at += 4;
    return 0;
  }
  if (basic_size > static_cast<std::size_t>(arj::kMaxBasicSize) || basic_size < arj::kFirstSize + 2) {
    error = "header block of impossible size" + where;
    return -1;
  }
  if (size - at - 4 < basic_size + 4) {
    error = "archive ends inside the header block" + where;
    return -1;
  }
  const std::uint8_t *basic = data + at + 4;
  if (arj::crc32_of(basic, basic_size) != le32(basic + basic_size)) {
    error = "header CRC mismatch" + where;
    return -1;
  }
  const std::size_t first_size = basic[arj::kOffFirstSize];
  std::size_t name_end = first_size;
  while (name_end < basic_size && basic[name_end] != 0) ++name_end;
  if (first_size < arj::kFirstSize || name_end >= basic_size) {
    error = "malformed header block" + where;
    return -1;
  }
  entry.name.assign(reinterpret_cast<const char *>(basic + first_size), name_end - first_size);
  entry.min_version = basic[arj::kOffMinVersion];
  entry.header_flags = basic[arj::kOffHeaderFlags];
  entry.pack_method = basic[arj::kOffPackMethod];
  entry.content_type = basic[arj::kOffContentType];
  entry.packed_size = le32(basic + arj::kOffPackedSize);
  entry.original_size = le32(basic + arj::kOffOriginalSize);
  at += 4 + basic_size + 4;
  // Extended headers: each a size, its data and a CRC, up to a size of 0.
  for (;;) {
    if (size - at < 2) {
      error = "archive ends inside the extended headers" + where;
      return -1;
    }
    const std::size_t ext_size = le16(data + at);
    at += 2;
    if (ext_size == 0) break;
    if (size - at < ext_size + 4) {
      error = "archive ends inside the extended headers" + where;
      return -1;
    }
    at += ext_size + 4;
  }
  return 1;
}

}  // namespace

bool index_archive(const std::uint8_t *data, std::size_t size, std::vector<IndexedEntry> &entries,
                   std::size_t &archive_length, std::string &error) {
  entries.clear();
  std::size_t at = 0;
  IndexedEntry main;
  const int first = read_block(data, size, at, main, error);
  if (first < 0) return false;
  if (first == 0) {
    error = "the archive has no main header";
    return false;
  }
  for (;;) {
    IndexedEntry entry;
    const int got = read_block(data, size, at, entry, error);
    if (got < 0) return false;
    if (got == 0) break;
    if (size - at < entry.packed_size) {
      error = "the packed data of '" + entry.name + "' runs past the end of the archive";
      return false;
    }
    at += entry.packed_size;
    entries.push_back(entry);
  }
  archive_length = at;
  return true;
}

}  // namespace pack
