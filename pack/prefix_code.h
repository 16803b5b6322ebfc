// Length-limited canonical prefix codes, assigned the way the reader's table
// builder expects them: shorter codes first, and within one length in symbol
// order, each code read most significant bit first.
#ifndef PACK_PREFIX_CODE_H
#define PACK_PREFIX_CODE_H

#include <cstdint>

namespace pack {

constexpr int kMaxSymbols = 512;

// Sets `lengths[0..count)` from the frequencies: 0 for an unused symbol, at
// most `max_length` (1 to 16) otherwise. With two or more used symbols the
// code fills the code space exactly. A single used symbol gets length 1 and
// is left to the caller, who writes the one-symbol form instead.
void build_code_lengths(const std::uint32_t *freqs, int count, int max_length, std::uint8_t *lengths);

// The canonical codes for those lengths (right-aligned, `lengths[s]` bits).
void assign_canonical_codes(const std::uint8_t *lengths, int count, std::uint16_t *codes);

// Number of symbols with a non-zero frequency; `only` gets the last of them.
int used_symbols(const std::uint32_t *freqs, int count, int *only);

}  // namespace pack

#endif  // PACK_PREFIX_CODE_H
