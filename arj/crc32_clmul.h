// CRC-32 by carry-less multiplication, for x86-64 processors that have it.
// Only 64-bit builds carry it: the 32-bit installer stub never does.
#ifndef ARJ_CRC32_CLMUL_H
#define ARJ_CRC32_CLMUL_H

#include <cstddef>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) && !defined(ARJ_PORTABLE_CRC)
#define ARJ_HAVE_CRC32_CLMUL 1
#endif

namespace arj {

#ifdef ARJ_HAVE_CRC32_CLMUL
// Inputs shorter than this go to the table-driven loop.
constexpr std::size_t kClmulMinLength = 64;

// True when the processor has PCLMULQDQ and SSE4.1 (asked once).
bool crc32_clmul_usable();

// Folds the first (length & ~15) bytes into the register; length >= 64.
// Returns the register; the remaining length & 15 bytes are the caller's.
std::uint32_t crc32_clmul_fold(std::uint32_t reg, const unsigned char *data, std::size_t length);
#endif

}  // namespace arj

#endif  // ARJ_CRC32_CLMUL_H
