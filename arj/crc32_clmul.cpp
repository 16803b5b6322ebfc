#include "arj/crc32_clmul.h"

#ifdef ARJ_HAVE_CRC32_CLMUL

#include <immintrin.h>

namespace arj {
namespace {

// Folding constants for the reflected polynomial 0xEDB88320: x^(k) mod P for
// the fold distances 4*128+32 and 4*128-32, 128+32 and 128-32, 64, and the
// Barrett pair (P and its quotient).
alignas(16) const std::uint64_t kFold4[2] = {0x0154442bd4u, 0x01c6e41596u};
alignas(16) const std::uint64_t kFold1[2] = {0x01751997d0u, 0x00ccaa009eu};
alignas(16) const std::uint64_t kFold64[2] = {0x0163cd6124u, 0};
alignas(16) const std::uint64_t kBarrett[2] = {0x01db710641u, 0x01f7011641u};

#define ARJ_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))

ARJ_CLMUL_TARGET inline __m128i load(const unsigned char *p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
}

// Moves x forward by the distance k stands for and adds the data found there.
ARJ_CLMUL_TARGET inline __m128i fold(__m128i x, __m128i k, __m128i next) {
  return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

}  // namespace

bool crc32_clmul_usable() {
  static const bool usable = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");
  return usable;
}

ARJ_CLMUL_TARGET std::uint32_t crc32_clmul_fold(std::uint32_t reg, const unsigned char *data, std::size_t length) {

  __m128i x1 = _mm_xor_si128(load(data), _mm_cvtsi32_si128(static_cast<int>(reg)));
  __m128i x2 = load(data + 16);
  __m128i x3 = load(data + 32);
  __m128i x4 = load(data + 48);
  data += 64;
  length -= 64;

  // Four lanes of 128 bits, each folded 512 bits forward per step.
  __m128i k = _mm_load_si128(reinterpret_cast<const __m128i *>(kFold4));
  while (length >= 64) {
    x1 = fold(x1, k, load(data));
    x2 = fold(x2, k, load(data + 16));
    x3 = fold(x3, k, load(data + 32));
    x4 = fold(x4, k, load(data + 48));
    data += 64;
    length -= 64;
  }

  // The four lanes into one, then whole 16-byte blocks.
  k = _mm_load_si128(reinterpret_cast<const __m128i *>(kFold1));
  x1 = fold(x1, k, x2);
  x1 = fold(x1, k, x3);
  x1 = fold(x1, k, x4);
  while (length >= 16) {
    x1 = fold(x1, k, load(data));
    data += 16;
    length -= 16;
  }

  // 128 bits to 64, then Barrett reduction to 32.
  const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
  __m128i x = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k, 0x10));
  const __m128i k64 = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(kFold64));
  x = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x, low32), k64, 0x00), _mm_srli_si128(x, 4));
  const __m128i p = _mm_load_si128(reinterpret_cast<const __m128i *>(kBarrett));
  __m128i t = _mm_clmulepi64_si128(_mm_and_si128(x, low32), p, 0x10);
  t = _mm_clmulepi64_si128(_mm_and_si128(t, low32), p, 0x00);
  x = _mm_xor_si128(x, t);
  return static_cast<std::uint32_t>(_mm_extract_epi32(x, 1));
}

}  // namespace arj

#endif  // ARJ_HAVE_CRC32_CLMUL
