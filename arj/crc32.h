// CRC-32 of the reflected polynomial 0xEDB88320 (the one of IEEE 802.3 and zlib).
#ifndef ARJ_CRC32_H
#define ARJ_CRC32_H

#include <cstddef>
#include <cstdint>

namespace arj {

constexpr std::uint32_t kCrcStart = 0xFFFFFFFFu;

// Folds `length` bytes into a running register (no inversion before or after):
// start from kCrcStart, and the CRC of the bytes is the complement of the result.
std::uint32_t crc32_accumulate(std::uint32_t reg, const void *data, std::size_t length);

// The finished CRC-32 of a buffer.
inline std::uint32_t crc32_of(const void *data, std::size_t length) {
  return ~crc32_accumulate(kCrcStart, data, length);
}

// The byte-at-a-time table: entry i is i shifted right eight times, each shift
// followed by an exclusive-or with the polynomial when the bit shifted out was 1.
const std::uint32_t *crc32_table();

}  // namespace arj

#endif  // ARJ_CRC32_H
