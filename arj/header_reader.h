// Finding and reading header blocks.
#ifndef ARJ_HEADER_READER_H
#define ARJ_HEADER_READER_H

#include <cstddef>
#include <cstdint>

namespace arj {

// Little-endian reads from the archive stream. Each returns 0, or 104 (already
// reported through arj_fail) when the archive ends.
int read_archive_u16(std::uint16_t *value);
int read_archive_u32(std::uint32_t *value);

// Reads up to `count` bytes and folds those read into the CRC register.
std::size_t read_basic_header(unsigned char *buffer, std::size_t count);

// Scans from the current position for the first header block whose size and
// CRC hold, below `scan_limit` bytes past the start and below length - 2.
// Returns 0 with the stream at the block and `*offset` set; -1 when there is
// none (the caller reports 111); or 104 when a candidate runs off the end.
int locate_first_header(long long *offset, long scan_limit);

// Reads one header block into the engine state. Returns 1 for a header block,
// 0 for the end marker, otherwise 111, 101, 109 or 104 (already reported).
int read_next_header(bool first_header);

// Copies the source up to its NUL, at most size - 1 characters, and ends the
// copy with a NUL. The source is read no further than `source_size` bytes.
void copy_bounded(char *destination, const char *source, std::size_t size, std::size_t source_size);
// Clears bit 7 of every character up to the NUL.
void fold_to_7bit(char *text);

}  // namespace arj

#endif  // ARJ_HEADER_READER_H
