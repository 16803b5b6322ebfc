// The engine as the tools and benchmarks use it: one walk over an archive that
// may start inside a larger file (an installer executable), with each entry's
// header fields, and entries extracted into any sink (a file, memory, nothing).
//
// It runs on the same engine state, decoders and checks as arj_engine.h, so the
// results and the bytes produced are the same; it is not re-entrant either.
#ifndef ARJ_ARCHIVE_READER_H
#define ARJ_ARCHIVE_READER_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace arj {

// Fields of one entry header, as read.
struct EntryInfo {
  int number = 0;                  // counted from 1
  std::string stored_name;         // as stored (at most 511 characters kept)
  std::string name;                // the name handed back: stored_name after name_offset
  std::uint8_t archiver_version = 0;
  std::uint8_t min_version = 0;
  std::uint8_t origin_os = 0;
  std::uint8_t header_flags = 0;
  int pack_method = 0;
  int content_type = 0;
  std::uint32_t modified_time = 0; // DOS date and time
  std::uint32_t packed_size = 0;
  std::uint32_t original_size = 0;
  std::uint32_t data_crc = 0;
  std::uint16_t name_offset = 0;
  std::uint16_t access_mode = 0;
  long header_offset = 0;          // file offset of the entry's header block
  long data_offset = 0;            // file offset of the entry's packed data
};

// Where extracted bytes go. The bytes are those the output file would get:
// for a text entry, after the high-bit fold and the LF to CR LF translation.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // Returns false when the bytes could not be taken (the entry fails with 105).
  virtual bool write(const unsigned char *data, std::size_t length) = 0;
};

// What the visitor wants done with an entry.
struct EntryAction {
  EntrySink *sink = nullptr;  // null: skip the entry's data
};

class EntryVisitor {
 public:
  virtual ~EntryVisitor() = default;
  // Called for each entry header in order; fill `action` to extract the entry.
  // Return false to stop the walk (the walk then ends with result 0).
  virtual bool on_entry(const EntryInfo &info, EntryAction &action) = 0;
  // Called after an extracted entry: 0, or the entry's result code (102, 104,
  // 105, 106, 108, 110, 112, 113, 114). The walk goes on with the next entry
  // unless the code ended the archive (104 in the data, for instance).
  virtual void on_entry_done(const EntryInfo &info, int result) = 0;
};

// Walks the archive in `path` whose search for the first header block starts
// at `start_offset` (and looks no further than 500000 bytes past it). Returns 0
// when the end marker was reached (or the visitor stopped), otherwise the code
// that ended the walk: 103, 111, 100 or 104 before the first entry; 101, 104
// or 109 for a damaged entry header after `*entries_seen` good ones (may be
// null); 104 when an extracted entry's data ends with the file (after its
// on_entry_done); 110 when the engine has no memory for its state.
int walk_archive(const char *path, long start_offset, EntryVisitor &visitor, int *entries_seen);

}  // namespace arj

#endif  // ARJ_ARCHIVE_READER_H
