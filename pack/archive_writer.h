// Writes an archive: the main header, then each entry's header block and
// packed data, then the end marker. Header blocks carry their CRC and an
// empty list of extended headers; names are plain file names.
#ifndef PACK_ARCHIVE_WRITER_H
#define PACK_ARCHIVE_WRITER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pack/compressor.h"

namespace pack {

constexpr std::uint8_t kArchiverVersion = 6;
constexpr std::uint8_t kMinVersion = 1;
constexpr std::uint16_t kArchiveAttribute = 0x20;
constexpr std::size_t kMaxStoredName = 511;  // the reader keeps this many characters
// Entry sizes (and the archive) stay below 2^31: the reader's sizes are signed.
constexpr std::uint64_t kMaxEntrySize = 0x7FFFFFFFu;

// Where archive bytes go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual bool write(const std::uint8_t *data, std::size_t length) = 0;
};

class MemorySink : public ByteSink {
 public:
  bool write(const std::uint8_t *data, std::size_t length) override {
    bytes.insert(bytes.end(), data, data + length);
    return true;
  }
  std::vector<std::uint8_t> bytes;
};

struct HeaderFields {
  std::uint8_t pack_method = 0;
  std::uint8_t content_type = 0;
  std::uint32_t modified_time = 0;  // DOS date and time
  std::uint32_t packed_size = 0;
  std::uint32_t original_size = 0;
  std::uint32_t data_crc = 0;
  std::uint16_t access_mode = 0;
  std::string name;
};

// The bytes of one header block: marker, size, basic header, its CRC and the
// empty extended-header list.
std::vector<std::uint8_t> encode_header_block(const HeaderFields &fields);

// Why `name` cannot be an entry name, or "" when it can: a plain file name
// (no folder part), printable ASCII, at most kMaxStoredName characters.
std::string entry_name_problem(const std::string &name);

class ArchiveWriter {
 public:
  // `archive_name` goes into the main header.
  ArchiveWriter(ByteSink &sink, const std::string &archive_name, std::uint32_t dos_time);

  // Packs and writes one entry. Returns false when the sink failed. The name
  // must pass entry_name_problem and the size must stay within kMaxEntrySize.
  bool add(const std::string &name, const std::uint8_t *data, std::size_t size, std::uint32_t dos_time,
           int method = 1, int level = kDefaultLevel, const ProgressFn &progress = nullptr);

  // Writes an entry already packed.
  bool add_packed(const std::string &name, const PackedData &packed, std::size_t original_size,
                  std::uint32_t dos_time);

  // Writes the end marker. Returns false when any write failed.
  bool finish();

  std::uint64_t bytes_written() const { return written_; }

 private:
  bool put(const std::uint8_t *data, std::size_t length);

  ByteSink &sink_;
  std::uint64_t written_ = 0;
  bool ok_ = true;
};

}  // namespace pack

#endif  // PACK_ARCHIVE_WRITER_H
