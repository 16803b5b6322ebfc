// The one way out for unpacked bytes, and the stored method's copy.
#ifndef ARJ_OUTPUT_SINK_H
#define ARJ_OUTPUT_SINK_H

#include <cstddef>

namespace arj {

// Folds the bytes into the CRC register, then writes them to the output: as
// they are for a binary entry; for a text entry with bit 7 cleared (unless the
// entry comes from UNIX) and every LF written as CR LF, the same bytes on every
// platform. Returns 0, or 105 (reported) when the output does not take them.
int write_output(const unsigned char *data, std::size_t length);

// Method 0: copies `packed_remaining` bytes from the archive through the sink.
// Returns 0, 104, 105 or 110.
int copy_stored();

}  // namespace arj

#endif  // ARJ_OUTPUT_SINK_H
