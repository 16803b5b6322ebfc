#include "arj/engine_streams.h"

#include <cstdlib>
#include <cstring>

#include "arj/crc32.h"

namespace arj {

EngineState *g_engine = nullptr;

bool engine_start() {
  if (!g_engine) g_engine = static_cast<EngineState *>(std::calloc(1, sizeof(EngineState)));
  return g_engine != nullptr;
}

int arj_fail(int code) {
  if (code != 103) close_archive();
  return code;
}

void *alloc_or_fail(std::size_t size) {
  void *block = engine().allocate ? engine().allocate(size) : std::malloc(size);
  if (!block) arj_fail(110);
  return block;
}

int open_archive(const char *path) {
  ArchiveInput &in = engine().archive_file;
  std::FILE *file = std::fopen(path, "rb");
  if (!file) return arj_fail(103);
  // Every read goes through our own buffer: a second one inside the C stream
  // only doubles the reads after each seek.
  std::setvbuf(file, nullptr, _IONBF, 0);
  long length = -1;
  if (std::fseek(file, 0, SEEK_END) == 0) length = std::ftell(file);
  if (length < 0 || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return arj_fail(103);
  }
  in.file = file;
  in.length = length;
  in.buffer_offset = 0;
  in.pos = 0;
  in.end = 0;
  in.after_seek = false;
  engine().archive_open = true;
  return 0;
}

void close_archive() {
  if (!engine().archive_open) return;
  std::fclose(engine().archive_file.file);
  engine().archive_file.file = nullptr;
  engine().archive_open = false;
}

void crc_table_init() { (void)crc32_table(); }

void crc_accumulate(const void *data, std::size_t length) {
  engine().running_crc = crc32_accumulate(engine().running_crc, data, length);
}

void reset_streams() {
  close_archive();
  engine().output_file.file = nullptr;
  engine().output_file.write = nullptr;
  engine().output_file.context = nullptr;
}

long long archive_tell() {
  const ArchiveInput &in = engine().archive_file;
  return in.buffer_offset + static_cast<long long>(in.pos);
}

void archive_seek(long long offset) {
  ArchiveInput &in = engine().archive_file;
  if (offset < 0) offset = 0;
  if (offset > in.length) offset = in.length;
  if (offset >= in.buffer_offset && offset <= in.buffer_offset + static_cast<long long>(in.end)) {
    in.pos = static_cast<std::size_t>(offset - in.buffer_offset);
    return;
  }
  // Offsets stay below the file length, which fitted a long when it was learned.
  std::fseek(in.file, static_cast<long>(offset), SEEK_SET);
  in.buffer_offset = offset;
  in.pos = 0;
  in.end = 0;
  in.after_seek = true;
}

static bool refill_buffer() {
  ArchiveInput &in = engine().archive_file;
  if (!engine().archive_open) return false;
  in.buffer_offset += static_cast<long long>(in.end);
  in.pos = 0;
  in.end = std::fread(in.buffer, 1, in.after_seek ? kInputReadAfterSeek : sizeof in.buffer, in.file);
  in.after_seek = false;
  return in.end > 0;
}

int archive_get_slow() {
  ArchiveInput &in = engine().archive_file;
  if (!refill_buffer()) return -1;
  return in.buffer[in.pos++];
}

std::size_t archive_buffered() {
  ArchiveInput &in = engine().archive_file;
  if (in.pos == in.end) refill_buffer();
  return in.end - in.pos;
}

std::size_t archive_read(void *destination, std::size_t count) {
  ArchiveInput &in = engine().archive_file;
  unsigned char *out = static_cast<unsigned char *>(destination);
  std::size_t done = 0;
  while (done < count) {
    if (in.pos == in.end && !refill_buffer()) break;
    std::size_t n = in.end - in.pos;
    if (n > count - done) n = count - done;
    std::memcpy(out + done, in.buffer + in.pos, n);
    in.pos += n;
    done += n;
  }
  return done;
}

}  // namespace arj
