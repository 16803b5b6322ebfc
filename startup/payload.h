// The payload the installer carries: the descriptor in its MS-DOS header and
// the archive appended after its image, copied into the staging folder.
#ifndef STARTUP_PAYLOAD_H
#define STARTUP_PAYLOAD_H

#include <cstdint>

#include "platform/os.h"

// Reads the nine descriptor bytes at offset 32 of the executable. Returns 1
// with all three outputs written, 0 (outputs untouched) on a null argument, an
// executable that cannot be opened, or a descriptor that cannot be read whole.
int read_payload_descriptor(platform::Os &os, const char *executable_path, std::int32_t *run_mode,
                            std::uint32_t *archive_offset, std::uint32_t *archive_size);

enum class StageResult {
  kFailed = 0,        // internal-error box, exit code 129
  kStaged = 1,
  kLengthMismatch,    // corrupt-installer box already shown; exit code 130
};

// Copies the archive into staging_folder + "TWDATA.ARJ" in 4096-byte blocks.
// The executable's length must be exactly archive offset + archive size.
StageResult stage_archive(platform::Os &os, const char *executable_path, const char *staging_folder,
                          std::uint32_t archive_offset, std::uint32_t archive_size);

#endif  // STARTUP_PAYLOAD_H
