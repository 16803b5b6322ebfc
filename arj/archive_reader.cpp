// The tools' walk over the engine. Kept apart from the entry points so that
// the installer stub, which links only those, does not carry std::string.
#include "arj/archive_reader.h"

#include "arj/engine_state.h"
#include "arj/engine_streams.h"
#include "arj/entry_driver.h"

namespace arj {
namespace {

bool sink_write(void *context, const unsigned char *data, std::size_t length) {
  return static_cast<EntrySink *>(context)->write(data, length);
}

EntryInfo describe_entry(int number, long long header_offset) {
  const EngineState &g = engine();
  EntryInfo info;
  info.number = number;
  info.stored_name = g.entry_name;
  char name[kExtractedNameSize];
  make_extracted_name(name, static_cast<int>(sizeof name));
  info.name = name;
  info.archiver_version = g.archiver_version;
  info.min_version = g.min_version;
  info.origin_os = g.origin_os;
  info.header_flags = g.header_flags;
  info.pack_method = g.pack_method;
  info.content_type = g.content_type;
  info.modified_time = g.modified_time;
  info.packed_size = static_cast<std::uint32_t>(g.packed_remaining);
  info.original_size = static_cast<std::uint32_t>(g.original_size);
  info.data_crc = g.data_crc;
  info.name_offset = g.name_offset;
  info.access_mode = g.access_mode;
  info.header_offset = static_cast<long>(header_offset);
  info.data_offset = static_cast<long>(archive_tell());
  return info;
}

}  // namespace

int walk_archive(const char *path, long start_offset, EntryVisitor &visitor, int *entries_seen) {
  if (entries_seen) *entries_seen = 0;
  if (!engine_start()) return 110;
  EngineState &g = engine();
  crc_table_init();
  reset_streams();
  if (!set_archive_path(path)) return arj_fail(103);
  int rc = walk_begin(start_offset);
  if (rc != 0) return rc;
  for (;;) {
    const long long header_offset = archive_tell();
    rc = walk_next_entry();
    if (rc == 0) break;
    if (rc != 1) return rc;  // a damaged entry header; the archive is closed
    ++g.entries_seen;
    if (entries_seen) *entries_seen = g.entries_seen;
    const EntryInfo info = describe_entry(g.entries_seen, header_offset);
    EntryAction action;
    if (!visitor.on_entry(info, action)) break;
    if (!action.sink) {
      skip_entry_data();
      continue;
    }
    const OutputTarget target = {nullptr, sink_write, action.sink};
    const int result = extract_entry(target, nullptr);
    visitor.on_entry_done(info, result);
    if (result == 104) return 104;  // the archive ended inside the data
    // A failed entry closed the archive; the walk goes on after its data.
    if (!g.archive_open && open_archive(g.archive_path) != 0) return 103;
    archive_seek(static_cast<long long>(info.data_offset) + static_cast<long long>(info.packed_size));
  }
  walk_end();
  return 0;
}

}  // namespace arj
