// The installer executable's layout: the stub image, then the archive, and a
// nine-byte descriptor inside the stub's MS-DOS header that says where the
// archive lies, how long it is and how the installer runs.
#ifndef PACK_INSTALLER_LAYOUT_H
#define PACK_INSTALLER_LAYOUT_H

#include <cstddef>
#include <cstdint>

namespace pack {

constexpr std::size_t kDescriptorOffset = 32;
constexpr std::size_t kDescriptorSize = 9;

enum RunMode : std::int8_t { kRunStandard = 0, kRunSilent = 1 };

struct PayloadDescriptor {
  std::uint32_t archive_offset = 0;
  std::uint32_t archive_size = 0;
  std::int8_t run_mode = 0;
};

inline PayloadDescriptor decode_descriptor(const unsigned char bytes[kDescriptorSize]) {
  auto le32 = [](const unsigned char *p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
  };
  PayloadDescriptor d;
  d.archive_offset = le32(bytes);
  d.archive_size = le32(bytes + 4);
  d.run_mode = static_cast<std::int8_t>(bytes[8]);
  return d;
}

inline void encode_descriptor(const PayloadDescriptor &d, unsigned char bytes[kDescriptorSize]) {
  for (int i = 0; i < 4; ++i) {
    bytes[i] = static_cast<unsigned char>(d.archive_offset >> (8 * i));
    bytes[4 + i] = static_cast<unsigned char>(d.archive_size >> (8 * i));
  }
  bytes[8] = static_cast<unsigned char>(d.run_mode);
}

// The archive is the last thing in the executable.
inline bool length_matches(const PayloadDescriptor &d, std::uint64_t file_length) {
  return static_cast<std::uint64_t>(d.archive_offset) + d.archive_size == file_length;
}

}  // namespace pack

#endif  // PACK_INSTALLER_LAYOUT_H
