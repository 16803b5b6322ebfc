// The extraction engine's two entry points.
//
// Each call is a whole operation: it opens the archive, finds the first header
// block by scanning, walks the header blocks and closes every stream before it
// returns. The engine keeps its state process-wide and is not re-entrant: one
// call at a time.
#ifndef ARJ_ARJ_ENGINE_H
#define ARJ_ARJ_ENGINE_H

#ifdef __cplusplus
extern "C" {
#endif

// Number of entries in the archive (a 16-bit signed value widened to int), or
// a result code 100 to 114 when the walk failed before the first entry header.
int arj_count_entries(const char *archive_path);

// Extracts entry `entry_number` (counted from 1) into the file `output_path`
// (its own name in the current folder when the path is empty) and copies the
// entry's name into `name_out`, a buffer of at least 256 bytes. Returns 0 on
// success, 1 when the archive holds no entry of that number, otherwise a
// result code (see result_code.h).
int arj_extract_entry(const char *archive_path, int entry_number, const char *output_path, char *name_out);

#ifdef __cplusplus
}
#endif

#endif  // ARJ_ARJ_ENGINE_H
