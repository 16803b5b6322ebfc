#include "arj/header_reader.h"

#include <cstring>

#include "arj/crc32.h"
#include "arj/engine_state.h"
#include "arj/engine_streams.h"
#include "arj/format.h"

namespace arj {

int read_archive_u16(std::uint16_t *value) {
  const int lo = archive_get();
  const int hi = archive_get();
  if (lo < 0 || hi < 0) return arj_fail(104);
  *value = static_cast<std::uint16_t>(lo | (hi << 8));
  return 0;
}

int read_archive_u32(std::uint32_t *value) {
  unsigned char bytes[4];
  if (archive_read(bytes, 4) != 4) return arj_fail(104);
  *value = static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
           (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return 0;
}

std::size_t read_basic_header(unsigned char *buffer, std::size_t count) {
  const std::size_t got = archive_read(buffer, count);
  crc_accumulate(buffer, got);
  return got;
}

int locate_first_header(long long *offset, long scan_limit) {
  const long long start = archive_tell();
  long long limit = engine().archive_file.length - 2;
  if (limit > start + scan_limit) limit = start + scan_limit;
  long long p = start;
  int current = archive_get();
  while (p < limit) {
    const int next = archive_get();
    if (current == kMarkerByte0 && next == kMarkerByte1) {
      std::uint16_t size = 0;
      int rc = read_archive_u16(&size);
      if (rc != 0) return rc;
      if (size <= kMaxBasicSize) {
        engine().running_crc = kCrcStart;
        read_basic_header(engine().header_buffer, size);
        std::uint32_t stored = 0;
        rc = read_archive_u32(&stored);
        if (rc != 0) return rc;
        if (stored == ~engine().running_crc) {
          archive_seek(p);
          *offset = p;
          return 0;
        }
      }
      // Not a header block: go on from the byte after its first marker byte.
      archive_seek(p + 2);
    }
    current = next;
    ++p;
  }
  return -1;
}

void copy_bounded(char *destination, const char *source, std::size_t size, std::size_t source_size) {
  if (size == 0) return;
  std::size_t n = 0;
  while (n + 1 < size && n < source_size && source[n] != '\0') {
    destination[n] = source[n];
    ++n;
  }
  destination[n] = '\0';
}

void fold_to_7bit(char *text) {
  for (; *text; ++text) *text = static_cast<char>(*text & 0x7F);
}

static std::uint16_t field_u16(const unsigned char *p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

static std::uint32_t field_u32(const unsigned char *p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Length of the NUL-terminated string at `text`, looking at `available` bytes at most.
static std::size_t bounded_length(const unsigned char *text, std::size_t available) {
  const void *nul = std::memchr(text, 0, available);
  return nul ? static_cast<std::size_t>(static_cast<const unsigned char *>(nul) - text) : available;
}

int read_next_header(bool first_header) {
  EngineState &g = engine();
  std::uint16_t marker = 0;
  int rc = read_archive_u16(&marker);
  if (rc != 0) return rc;
  if (marker != kHeaderMarker) return arj_fail(first_header ? 111 : 101);
  std::uint16_t size = 0;
  rc = read_archive_u16(&size);
  if (rc != 0) return rc;
  if (size == 0) return 0;
  if (size > kMaxBasicSize) return arj_fail(101);

  g.running_crc = kCrcStart;
  const std::size_t got = read_basic_header(g.header_buffer, size);
  std::uint32_t stored = 0;
  rc = read_archive_u32(&stored);
  if (rc != 0) return rc;
  if (stored != ~g.running_crc) return arj_fail(109);
  // A header shorter than its fixed fields reads zeros for the missing ones,
  // never the bytes of an earlier header.
  std::memset(g.header_buffer + got, 0, sizeof g.header_buffer - got);
  g.basic_size = size;

  const unsigned char *h = g.header_buffer;
  g.first_size = h[kOffFirstSize];
  g.archiver_version = h[kOffArchiverVersion];
  g.min_version = h[kOffMinVersion];
  g.origin_os = h[kOffOriginOs];
  g.header_flags = h[kOffHeaderFlags];
  g.pack_method = h[kOffPackMethod];
  g.content_type = h[kOffContentType];
  g.modified_time = field_u32(h + kOffModifiedTime);
  g.packed_remaining = static_cast<std::int32_t>(field_u32(h + kOffPackedSize));
  g.original_size = static_cast<std::int32_t>(field_u32(h + kOffOriginalSize));
  g.data_crc = field_u32(h + kOffDataCrc);
  g.name_offset = field_u16(h + kOffNameOffset);
  g.access_mode = field_u16(h + kOffAccessMode);
  g.origin_data = field_u16(h + kOffOriginData);

  // The name and the comment are read from the header's own bytes only: a
  // string without its NUL ends at the header's end, and a name that starts
  // past the end is empty.
  const std::size_t name_start = g.first_size < size ? g.first_size : size;
  const std::size_t name_length = bounded_length(h + name_start, size - name_start);
  copy_bounded(g.entry_name, reinterpret_cast<const char *>(h + name_start), sizeof g.entry_name,
               name_length);
  std::size_t comment_start = name_start + name_length + 1;
  if (comment_start > size) comment_start = size;
  copy_bounded(g.entry_comment, reinterpret_cast<const char *>(h + comment_start), sizeof g.entry_comment,
               size - comment_start);
  if (g.origin_os != kOsUnix) {
    fold_to_7bit(g.entry_name);
    fold_to_7bit(g.entry_comment);
  }

  std::uint16_t ext_size = 0;
  rc = read_archive_u16(&ext_size);
  if (rc != 0) return rc;
  while (ext_size != 0) {
    archive_seek(archive_tell() + ext_size + 4);
    rc = read_archive_u16(&ext_size);
    if (rc != 0) return rc;
  }
  return 1;
}

}  // namespace arj
