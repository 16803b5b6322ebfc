// Canonical prefix-code decode tables for methods 1-3.
//
// A table has 2^primary_bits entries indexed by the top bits of the bit
// buffer; codes longer than that continue in sub-tables of 2^(16 - primary_bits)
// entries indexed by the following bits. An entry holds the code's whole length
// (bits 0-4) and the symbol (bits 16-31); a sub-table link has kLinkFlag set
// and the sub-table's start in bits 16-31. So the length is a mask away from
// being a shift count, and a literal byte's entry is below 256 << 16.
#ifndef ARJ_DECODE_TABLE_H
#define ARJ_DECODE_TABLE_H

#include <cstddef>
#include <cstdint>

namespace arj {

constexpr std::uint32_t kLinkFlag = 0x80u;
// Decodes to a symbol outside every alphabet: a code that cannot be used.
constexpr std::uint32_t kUnusableSymbol = 0xFFFFu;

inline std::uint32_t table_entry(std::uint32_t symbol, int length) {
  return (symbol << 16) | static_cast<std::uint32_t>(length);
}
inline std::uint32_t table_symbol(std::uint32_t entry) { return entry >> 16; }
inline int table_length(std::uint32_t entry) { return static_cast<int>(entry & 0x1Fu); }

// Looks up the entry for the stream bits at the top of `bits`.
inline std::uint32_t table_lookup(const std::uint32_t *table, int primary_bits, std::uint64_t bits) {
  std::uint32_t e = table[bits >> (64 - primary_bits)];
  if (e & kLinkFlag)
    e = table[(e >> 16) + static_cast<std::uint32_t>((bits >> 48) & ((1u << (16 - primary_bits)) - 1u))];
  return e;
}

// Builds the table for `n` code lengths (0 to 16; 0 = absent). Returns 0, or
// 102 when the lengths do not fill the code space exactly. Lengths that are all
// 0 give a table whose every entry is unusable: it fails only when used.
int build_decode_table(int n, const std::uint8_t *lengths, int primary_bits, std::uint32_t *table,
                       std::size_t table_size);

// A code of one symbol that takes no bits; a symbol outside the alphabet of
// `n` symbols makes it unusable.
void fill_single_symbol(std::uint32_t symbol, int n, int primary_bits, std::uint32_t *table);

}  // namespace arj

#endif  // ARJ_DECODE_TABLE_H
