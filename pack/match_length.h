// How far two positions of the input agree: the inner loop of every match search.
#ifndef PACK_MATCH_LENGTH_H
#define PACK_MATCH_LENGTH_H

#include <cstdint>
#include <cstring>

namespace pack {

// Number of equal bytes at `a` and `b`, at most `limit`; compares eight bytes a step.
inline unsigned common_length(const std::uint8_t *a, const std::uint8_t *b, unsigned limit) {
  unsigned n = 0;
  while (n + 8 <= limit) {
    std::uint64_t x;
    std::uint64_t y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    const std::uint64_t diff = x ^ y;
    if (diff != 0) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
      return n + static_cast<unsigned>(__builtin_ctzll(diff) >> 3);
#else
      break;
#endif
    }
    n += 8;
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

}  // namespace pack

#endif  // PACK_MATCH_LENGTH_H
