#include "arj/crc32.h"

#include <array>
#include <cstring>

#include "arj/crc32_clmul.h"

namespace arj {
namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320u;

// Eight tables so that the bulk loop folds eight bytes per step (slicing-by-8).
struct CrcTables {
  std::uint32_t t[8][256];
};

constexpr CrcTables make_tables() {
  CrcTables tables{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i;
    for (int k = 0; k < 8; ++k) c = (c & 1u) ? (c >> 1) ^ kPolynomial : c >> 1;
    tables.t[0][i] = c;
  }
  for (std::uint32_t i = 0; i < 256; ++i) {
    for (int s = 1; s < 8; ++s) {
      const std::uint32_t prev = tables.t[s - 1][i];
      tables.t[s][i] = (prev >> 8) ^ tables.t[0][prev & 0xFFu];
    }
  }
  return tables;
}

constexpr CrcTables kTables = make_tables();

inline std::uint32_t load_le32(const unsigned char *p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

const std::uint32_t *crc32_table() { return kTables.t[0]; }

std::uint32_t crc32_accumulate(std::uint32_t reg, const void *data, std::size_t length) {
  const unsigned char *p = static_cast<const unsigned char *>(data);
  const auto &t = kTables.t;
#ifdef ARJ_HAVE_CRC32_CLMUL
  if (length >= kClmulMinLength && crc32_clmul_usable()) {
    reg = crc32_clmul_fold(reg, p, length);
    p += length & ~std::size_t{15};
    length &= 15;
  }
#endif
  while (length >= 8) {
    const std::uint32_t lo = load_le32(p) ^ reg;
    const std::uint32_t hi = load_le32(p + 4);
    reg = t[7][lo & 0xFFu] ^ t[6][(lo >> 8) & 0xFFu] ^ t[5][(lo >> 16) & 0xFFu] ^ t[4][lo >> 24] ^
          t[3][hi & 0xFFu] ^ t[2][(hi >> 8) & 0xFFu] ^ t[1][(hi >> 16) & 0xFFu] ^ t[0][hi >> 24];
    p += 8;
    length -= 8;
  }
  while (length-- > 0) reg = t[0][(reg ^ *p++) & 0xFFu] ^ (reg >> 8);
  return reg;
}

}  // namespace arj
