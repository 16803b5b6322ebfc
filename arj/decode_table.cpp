#include "arj/decode_table.h"

namespace arj {

void fill_single_symbol(std::uint32_t symbol, int n, int primary_bits, std::uint32_t *table) {
  const std::uint32_t entry = table_entry(symbol < static_cast<std::uint32_t>(n) ? symbol : kUnusableSymbol, 0);
  const std::uint32_t size = 1u << primary_bits;
  for (std::uint32_t i = 0; i < size; ++i) table[i] = entry;
}

int build_decode_table(int n, const std::uint8_t *lengths, int primary_bits, std::uint32_t *table,
                       std::size_t table_size) {
  std::uint32_t count[17] = {};
  for (int s = 0; s < n; ++s) ++count[lengths[s]];
  if (count[0] == static_cast<std::uint32_t>(n)) {
    fill_single_symbol(kUnusableSymbol, n, primary_bits, table);
    return 0;
  }
  // The lengths must fill the 16-bit code space exactly; summed without
  // wrapping, so a set that fills it twice over is refused as well.
  std::uint32_t next_code[17];
  std::uint32_t code = 0;
  for (int len = 1; len <= 16; ++len) {
    next_code[len] = code;
    code += count[len] << (16 - len);
  }
  if (code != 0x10000u) return 102;

  const int sub_bits = 16 - primary_bits;
  const std::uint32_t primary_size = 1u << primary_bits;
  // Entries from the first code longer than the primary width on lead to
  // sub-tables; clear them so links are made afresh.
  const std::uint32_t long_start = primary_bits < 16 ? next_code[primary_bits + 1] >> sub_bits : primary_size;
  for (std::uint32_t i = long_start; i < primary_size; ++i) table[i] = 0;
  std::size_t next_sub = primary_size;

  for (int s = 0; s < n; ++s) {
    const int len = lengths[s];
    if (len == 0) continue;
    const std::uint32_t c = next_code[len];
    next_code[len] += 1u << (16 - len);
    const std::uint32_t entry = table_entry(static_cast<std::uint32_t>(s), len);
    const std::uint32_t index = c >> sub_bits;
    if (len <= primary_bits) {
      const std::uint32_t span = 1u << (primary_bits - len);
      for (std::uint32_t i = 0; i < span; ++i) table[index + i] = entry;
      continue;
    }
    if (table[index] == 0) {
      const std::size_t sub_size = std::size_t{1} << sub_bits;
      if (next_sub + sub_size > table_size) return 102;
      table[index] = kLinkFlag | (static_cast<std::uint32_t>(next_sub) << 16);
      next_sub += sub_size;
    }
    const std::uint32_t sub = table[index] >> 16;
    const std::uint32_t low = c & ((1u << sub_bits) - 1u);
    const std::uint32_t span = 1u << (16 - len);
    for (std::uint32_t i = 0; i < span; ++i) table[sub + low + i] = entry;
  }
  return 0;
}

}  // namespace arj
