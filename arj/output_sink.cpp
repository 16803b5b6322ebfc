#include "arj/output_sink.h"

#include <cstdlib>

#include "arj/engine_state.h"
#include "arj/engine_streams.h"

namespace arj {
namespace {

constexpr std::size_t kCopyBlock = 4096;

bool put_bytes(const unsigned char *data, std::size_t length) {
  const OutputTarget &out = engine().output_file;
  if (length == 0) return true;
  if (out.file) return std::fwrite(data, 1, length, out.file) == length;
  if (out.write) return out.write(out.context, data, length);
  return true;
}

bool put_text(const unsigned char *data, std::size_t length) {
  const unsigned char mask = engine().origin_os == kOsUnix ? 0xFF : 0x7F;
  unsigned char staged[2 * 1024];
  std::size_t n = 0;
  for (std::size_t i = 0; i < length; ++i) {
    const unsigned char b = static_cast<unsigned char>(data[i] & mask);
    if (n + 2 > sizeof staged) {
      if (!put_bytes(staged, n)) return false;
      n = 0;
    }
    if (b == '\n') staged[n++] = '\r';
    staged[n++] = b;
  }
  return put_bytes(staged, n);
}

}  // namespace

int write_output(const unsigned char *data, std::size_t length) {
  crc_accumulate(data, length);
  const bool ok = engine().content_type == kContentText ? put_text(data, length) : put_bytes(data, length);
  return ok ? 0 : arj_fail(105);
}

int copy_stored() {
  EngineState &g = engine();
  unsigned char *block = static_cast<unsigned char *>(alloc_or_fail(kCopyBlock));
  if (!block) return 110;
  // Keep later reads on 4096-byte boundaries of the archive.
  std::size_t chunk = kCopyBlock - static_cast<std::size_t>(archive_tell() % static_cast<long long>(kCopyBlock));
  int rc = 0;
  while (g.packed_remaining > 0) {
    const std::size_t n =
        static_cast<std::size_t>(g.packed_remaining) < chunk ? static_cast<std::size_t>(g.packed_remaining) : chunk;
    if (archive_read(block, n) != n) {
      rc = arj_fail(104);
      break;
    }
    g.packed_remaining -= static_cast<std::int32_t>(n);
    rc = write_output(block, n);
    if (rc != 0) break;
    chunk = kCopyBlock;
  }
  std::free(block);
  return rc;
}

}  // namespace arj
