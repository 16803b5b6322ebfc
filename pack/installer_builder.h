// Puts an installer together: the stub as the linker made it, the archive
// appended, the descriptor written into the stub's MS-DOS header, nothing
// after the archive. Before that it checks that the stub is one and that the
// stub can install every entry of the payload.
#ifndef PACK_INSTALLER_BUILDER_H
#define PACK_INSTALLER_BUILDER_H

#include <cstdint>
#include <string>
#include <vector>

#include "pack/archive_index.h"
#include "pack/installer_layout.h"

namespace pack {

// Files the stub itself makes in the staging folder.
extern const char *const kStubOwnFiles[3];
constexpr char kSetupProgram[] = "inst.exe";
// The stub keeps an entry's name in a 16-byte buffer.
constexpr std::size_t kStubNameLimit = 15;
// The stub counts entries in a signed 16-bit value.
constexpr std::size_t kStubMaxEntries = 32767;

// Why `stub` cannot take a payload, or "": it must be an MZ image with a
// whole MS-DOS header whose descriptor bytes are still zero.
std::string stub_problem(const std::vector<std::uint8_t> &stub);

// Why the stub could not extract an entry of this name, or "": a plain DOS
// 8.3 file name (at most kStubNameLimit characters), no device name.
std::string installer_name_problem(const std::string &name);

struct PayloadReport {
  std::vector<std::string> errors;    // each refuses the build
  std::vector<std::string> warnings;  // worth saying, but the build goes on
};

// Checks the names of a payload: each on its own, collisions between them
// (letter case ignored) and with the stub's own files, and the setup program.
void check_payload_names(const std::vector<std::string> &names, PayloadReport &report);

// Checks the entries of an archive: names as above, and entries the stub's
// engine would refuse (enciphered, an unknown method or content type, a
// version it cannot extract).
void check_payload_entries(const std::vector<IndexedEntry> &entries, PayloadReport &report);

// The installer's bytes. Returns false with `error` when the whole would not
// stay below 2^31 bytes (the stub works with signed 32-bit offsets).
bool assemble_installer(const std::vector<std::uint8_t> &stub, const std::vector<std::uint8_t> &archive,
                        RunMode mode, std::vector<std::uint8_t> &installer, std::string &error);

}  // namespace pack

#endif  // PACK_INSTALLER_BUILDER_H
