// The engine's process-wide state, gathered in one object. Both entry points
// and the archive walk drive the single instance `engine()`; the engine is
// therefore not re-entrant: one operation at a time, on one thread.
//
// The instance lives on the heap, made once by engine_start(): as a static
// object its 100-odd kilobytes could land in the installer stub's image.
#ifndef ARJ_ENGINE_STATE_H
#define ARJ_ENGINE_STATE_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "arj/format.h"

namespace arj {

constexpr int kArchivePathSize = 512;
constexpr int kOutputPathSize = 256;
constexpr int kOutputTargetSize = 260;
constexpr int kExtractedNameSize = 256;
constexpr int kEntryNameSize = 512;
constexpr int kEntryCommentSize = 2048;
constexpr std::size_t kInputBufferSize = 64 * 1024;
// A read right after a seek is usually for one header block: no need to fill
// the whole buffer, which would cost the walk over N entries N whole buffers.
// Most header blocks are well under 1 KiB; a longer one takes a second read.
constexpr std::size_t kInputReadAfterSeek = 1024;

// The archive stream: a C stream in binary mode read through a buffer of our
// own, so that neither the header scan nor the bit input costs a call per byte.
struct ArchiveInput {
  std::FILE *file;
  long long length;         // file length, learned when opened
  long long buffer_offset;  // file offset of buffer[0]
  std::size_t pos;          // next byte in buffer
  std::size_t end;          // bytes valid in buffer
  bool after_seek;          // the next read follows a seek: keep it short
  unsigned char buffer[kInputBufferSize];
};

// Where unpacked bytes go: a file, or a callback (the tools' sinks).
struct OutputTarget {
  std::FILE *file;
  bool (*write)(void *context, const unsigned char *data, std::size_t length);
  void *context;
};

// Decode tables of methods 1-3. Each table has a primary part indexed by the
// top bits of the bit buffer and, behind it, sub-tables for longer codes.
constexpr int kLitLenTableBits = 12;
constexpr int kShortTableBits = 10;
constexpr std::size_t kLitLenTableSize = (1u << kLitLenTableBits) + 256u * (1u << (16 - kLitLenTableBits));
constexpr std::size_t kShortTableSize = (1u << kShortTableBits) + 10u * (1u << (16 - kShortTableBits));

struct EngineState {
  // Streams and CRC register.
  ArchiveInput archive_file;
  bool archive_open;
  OutputTarget output_file;
  std::uint32_t running_crc;

  // The header block read last.
  unsigned char header_buffer[kMaxBasicSize];
  std::uint16_t basic_size;
  std::uint8_t first_size, archiver_version, min_version, origin_os, header_flags;
  std::int16_t pack_method;
  std::int32_t content_type;
  std::uint32_t modified_time, data_crc;
  std::int32_t packed_remaining, original_size;
  std::uint16_t name_offset, access_mode, origin_data;
  char entry_name[kEntryNameSize];
  char entry_comment[kEntryCommentSize];

  // The driver.
  char archive_path[kArchivePathSize];
  char output_path[kOutputPathSize];
  char output_target[kOutputTargetSize];
  char extracted_name[kExtractedNameSize];
  std::int32_t entries_seen;

  // Bit input: the next stream bits, left-aligned; `bits_held` of them valid.
  std::uint64_t bit_buffer;
  int bits_held;

  // Methods 1-3.
  std::uint32_t block_symbols_left;
  std::uint8_t short_lengths[kCodeLenSymbols];
  std::uint8_t lit_len_lengths[kLitLenSymbols];
  std::uint32_t short_table[kShortTableSize];
  std::uint32_t lit_len_table[kLitLenTableSize];

  // Allocation used by alloc_or_fail; null means malloc. Tests swap it to
  // exercise the out-of-memory paths.
  void *(*allocate)(std::size_t size);
};

extern EngineState *g_engine;

// Makes the instance (zeroed) on first use; false when there is no memory.
// Every operation starts with it; nothing else in the engine may run before.
bool engine_start();

inline EngineState &engine() { return *g_engine; }

}  // namespace arj

#endif  // ARJ_ENGINE_STATE_H
