#include "arj/entry_driver.h"

#include <cstring>

#include "arj/crc32.h"
#include "arj/engine_streams.h"
#include "arj/header_reader.h"
#include "arj/lzh_decoder.h"
#include "arj/method4_decoder.h"
#include "arj/output_sink.h"

namespace arj {

bool set_archive_path(const char *path) {
  EngineState &g = engine();
  g.archive_path[0] = '\0';
  if (!path) return false;
  const std::size_t length = std::strlen(path);
  if (length >= sizeof g.archive_path) return false;
  std::memcpy(g.archive_path, path, length + 1);
#ifdef _WIN32
  for (char *p = g.archive_path; *p; ++p)
    if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
#endif
  return true;
}

int walk_begin(long long start_offset) {
  EngineState &g = engine();
  g.entries_seen = 0;
  int rc = open_archive(g.archive_path);
  if (rc != 0) return rc;
  archive_seek(start_offset);
  long long offset = 0;
  rc = locate_first_header(&offset, kScanLimit);
  if (rc == -1) return arj_fail(111);
  if (rc != 0) return rc;
  archive_seek(offset);
  rc = read_next_header(true);
  if (rc == 0) return arj_fail(100);
  if (rc != 1) return rc;
  return 0;
}

int walk_next_entry() { return read_next_header(false); }

void skip_entry_data() {
  // The packed size counts as unsigned here: a size read as negative must not
  // move the walk backwards into headers it has already read.
  const std::uint32_t size = static_cast<std::uint32_t>(engine().packed_remaining);
  archive_seek(archive_tell() + static_cast<long long>(size));
}

void walk_end() { close_archive(); }

int check_entry() {
  const EngineState &g = engine();
  if (g.min_version > 3) return arj_fail(114);
  if (g.header_flags & kFlagEnciphered) return arj_fail(108);
  if (g.pack_method < 0 || g.pack_method > kMethod4 || (g.pack_method == kMethod4 && g.archiver_version == 1))
    return arj_fail(112);
  if (g.content_type != kContentBinary && g.content_type != kContentText) return arj_fail(113);
  return 0;
}

static int run_method() {
  switch (engine().pack_method) {
    case 0:
      return copy_stored();
    case kMethod4:
      return expand_method4();
    default:
      return expand_lzh();
  }
}

int extract_entry(OutputTarget target, const char *open_path) {
  EngineState &g = engine();
  int rc = check_entry();
  if (rc != 0) return rc;
  if (open_path) {
    // Text entries get their CR LF from the sink, so both kinds open binary
    // and the file's bytes are the same on every platform.
    target.file = std::fopen(open_path, "wb");
    if (!target.file) return arj_fail(103);
  }
  g.output_file = target;
  g.running_crc = kCrcStart;
  rc = run_method();
  if (target.file) {
    // Buffered bytes that cannot reach the disk are a failed write too.
    const bool closed = std::fclose(target.file) == 0;
    if (!closed && rc == 0) rc = arj_fail(105);
  }
  g.output_file.file = nullptr;
  g.output_file.write = nullptr;
  if (rc != 0) return rc;
  if (~g.running_crc != g.data_crc) return arj_fail(106);
  return 0;
}

void make_extracted_name(char *out, int out_size) {
  const EngineState &g = engine();
  const std::size_t stored_length = std::strlen(g.entry_name);
  const std::size_t offset = g.name_offset <= stored_length ? g.name_offset : stored_length;
  copy_bounded(out, g.entry_name + offset, static_cast<std::size_t>(out_size), stored_length - offset);
}

}  // namespace arj
