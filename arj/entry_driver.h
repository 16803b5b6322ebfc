// The walk over an archive's header blocks and the extraction of one entry,
// shared by the two entry points and by walk_archive.
#ifndef ARJ_ENTRY_DRIVER_H
#define ARJ_ENTRY_DRIVER_H

#include "arj/engine_state.h"

namespace arj {

// Copies the caller's archive path into `archive_path` (upper-cased where file
// names ignore case). Returns false for a null path or one of 512 characters
// or more, which would otherwise be cut and name another file.
bool set_archive_path(const char *path);

// Opens `archive_path`, scans from `start_offset` for the first header block
// and reads the main header. Returns 0, or 103, 111, 100, 104 with the archive
// closed.
int walk_begin(long long start_offset);
// Reads the next header block: 1 for an entry header, 0 at the end marker,
// otherwise 101, 104 or 109 (the archive is then closed).
int walk_next_entry();
// Moves past the packed data of the entry header just read.
void skip_entry_data();
// Closes the archive if it is still open.
void walk_end();

// Acceptance tests of the entry header just read: 0, 114, 108, 112 or 113.
int check_entry();

// Runs the acceptance tests, then unpacks the entry just read into `target`,
// or into a file opened at `open_path` when that is not null, and tests its
// CRC. Returns 0 or a result code; the output file is closed on every return.
int extract_entry(OutputTarget target, const char *open_path);

// The name handed back for the entry just read: the stored name from
// name_offset on, cut to 255 characters; empty when name_offset lies past the
// name's end.
void make_extracted_name(char *out, int out_size);

}  // namespace arj

#endif  // ARJ_ENTRY_DRIVER_H
