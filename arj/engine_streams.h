// The engine's common base: the archive stream and its buffered reads, the
// failure routine, allocation, and the CRC register.
#ifndef ARJ_ENGINE_STREAMS_H
#define ARJ_ENGINE_STREAMS_H

#include <cstddef>
#include <cstdint>

#include "arj/engine_state.h"

namespace arj {

// Ends the current operation with `code`: closes the archive unless the code is
// 103 (then either nothing was opened, or the output failed to open and the walk
// still owns the archive). Returns the code.
int arj_fail(int code);

// malloc through the engine's allocator; on failure reports 110 and returns null.
void *alloc_or_fail(std::size_t size);

// Opens `path` for reading as the archive stream; reports 103 when it cannot.
// Returns 0 or 103.
int open_archive(const char *path);
void close_archive();

// The CRC table is built at compile time; this only makes sure it exists.
void crc_table_init();
void crc_accumulate(const void *data, std::size_t length);

// Resets both streams to none, as every operation does at its start.
void reset_streams();

// Buffered reads of the archive stream.
long long archive_tell();
// Moves to an absolute offset; offsets past the end read as end of file.
void archive_seek(long long offset);
int archive_get_slow();
// The next byte, or -1 at end of file.
inline int archive_get() {
  ArchiveInput &in = engine().archive_file;
  if (in.pos < in.end) return in.buffer[in.pos++];
  return archive_get_slow();
}
// Reads up to `count` bytes; fewer only at end of file.
std::size_t archive_read(void *destination, std::size_t count);
// Makes at least one byte available when the file has any left; returns the
// bytes now buffered from the current position.
std::size_t archive_buffered();

}  // namespace arj

#endif  // ARJ_ENGINE_STREAMS_H
