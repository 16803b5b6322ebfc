#include "pack/lzh_block.h"

#include <algorithm>

#include "pack/prefix_code.h"

namespace pack {
namespace {

constexpr unsigned kImpossible = 1u << 20;

// Bits of one short length: 3 below 7, else the 3-bit 7, a run of 1 bits and a 0.
inline unsigned short_length_bits(unsigned length) { return length < 7 ? 3u : length - 3u; }

inline void put_short_length(BitWriter &out, unsigned length) {
  if (length < 7) {
    out.put(3, length);
  } else {
    out.put(3, 7);
    const unsigned ones = length - 7;
    out.put(ones + 1, ((1u << ones) - 1u) << 1);
  }
}

int trimmed_count(const std::uint8_t *lengths, int count) {
  while (count > 0 && lengths[count - 1] == 0) --count;
  return count;
}

// Picks the code-length symbols that send runs of zero lengths most cheaply
// for the given costs of symbols 0, 1 (+4 bits) and 2 (+9 bits).
class ZeroRunCoder {
 public:
  ZeroRunCoder(unsigned cost0, unsigned cost1, unsigned cost2) : cost2_(cost2) {
    best_[0] = 0;
    for (int k = 1; k < arj::kLitLenSymbols; ++k) {
      unsigned best = best_[k - 1] + cost0;
      int step = 1;
      for (int j = 3; j <= 18 && j <= k; ++j) {
        const unsigned c = best_[k - j] + cost1;
        if (c < best) {
          best = c;
          step = j;
        }
      }
      best_[k] = best;
      step_[k] = static_cast<std::uint8_t>(step);
    }
  }

  void emit(int run, BlockCodes &codes) const {
    if (run >= 20 && cost2_ < best_[run]) {
      push(codes, 2, static_cast<std::uint16_t>(run - 20));
      return;
    }
    while (run > 0) {
      const int step = step_[run];
      if (step == 1) {
        push(codes, 0, 0);
      } else {
        push(codes, 1, static_cast<std::uint16_t>(step - 3));
      }
      run -= step;
    }
  }

 private:
  static void push(BlockCodes &codes, std::uint16_t symbol, std::uint16_t extra) {
    codes.length_items[codes.length_item_count] = symbol;
    codes.length_item_extra[codes.length_item_count] = extra;
    ++codes.length_item_count;
  }

  unsigned cost2_;
  unsigned best_[arj::kLitLenSymbols];
  std::uint8_t step_[arj::kLitLenSymbols] = {};
};

void make_length_items(BlockCodes &codes, const ZeroRunCoder &zeros) {
  codes.length_item_count = 0;
  int i = 0;
  while (i < codes.lit_len_count) {
    const unsigned length = codes.lit_len_lengths[i];
    if (length != 0) {
      codes.length_items[codes.length_item_count] = static_cast<std::uint16_t>(length + 2);
      codes.length_item_extra[codes.length_item_count] = 0;
      ++codes.length_item_count;
      ++i;
      continue;
    }
    int run = 1;
    while (i + run < codes.lit_len_count && codes.lit_len_lengths[i + run] == 0) ++run;
    zeros.emit(run, codes);
    i += run;
  }
}

void build_code_len_code(BlockCodes &codes) {
  std::uint32_t freqs[arj::kCodeLenSymbols] = {};
  for (int k = 0; k < codes.length_item_count; ++k) ++freqs[codes.length_items[k]];
  int only = 0;
  const int used = used_symbols(freqs, arj::kCodeLenSymbols, &only);
  std::fill(codes.code_len_lengths, codes.code_len_lengths + arj::kCodeLenSymbols, 0);
  if (used <= 1) {
    codes.code_len_single = only;
    codes.code_len_count = 0;
    return;
  }
  codes.code_len_single = -1;
  build_code_lengths(freqs, arj::kCodeLenSymbols, arj::kMaxCodeLength, codes.code_len_lengths);
  assign_canonical_codes(codes.code_len_lengths, arj::kCodeLenSymbols, codes.code_len_codes);
  codes.code_len_count = trimmed_count(codes.code_len_lengths, arj::kCodeLenSymbols);
}

unsigned item_cost(const BlockCodes &codes, unsigned symbol) {
  if (codes.code_len_single >= 0) return static_cast<unsigned>(codes.code_len_single) == symbol ? 0 : kImpossible;
  const unsigned length = codes.code_len_lengths[symbol];
  return length == 0 ? kImpossible : length;
}

// Zeros that the 2-bit field after the third code-length length covers.
int skipped_zeros(const BlockCodes &codes) {
  int z = 0;
  while (z < 3 && 3 + z < codes.code_len_count && codes.code_len_lengths[3 + z] == 0) ++z;
  return z;
}

}  // namespace

void SymbolCounts::add(const LzToken *tokens, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const LzToken t = tokens[i];
    ++lit_len[token_symbol(t)];
    if (token_is_match(t)) ++distance[distance_symbol(token_distance_value(t))];
  }
}

void SymbolCounts::add(const SymbolCounts &other) {
  for (int s = 0; s < arj::kLitLenSymbols; ++s) lit_len[s] += other.lit_len[s];
  for (int s = 0; s < arj::kDistanceSymbols; ++s) distance[s] += other.distance[s];
}

void plan_block(const SymbolCounts &counts, BlockCodes &codes) {
  std::uint64_t bits = 16;

  int only = 0;
  if (used_symbols(counts.lit_len, arj::kLitLenSymbols, &only) <= 1) {
    codes.lit_len_single = only;
    codes.lit_len_count = 0;
    std::fill(codes.lit_len_lengths, codes.lit_len_lengths + arj::kLitLenSymbols, 0);
  } else {
    codes.lit_len_single = -1;
    build_code_lengths(counts.lit_len, arj::kLitLenSymbols, arj::kMaxCodeLength, codes.lit_len_lengths);
    assign_canonical_codes(codes.lit_len_lengths, arj::kLitLenSymbols, codes.lit_len_codes);
    codes.lit_len_count = trimmed_count(codes.lit_len_lengths, arj::kLitLenSymbols);
    for (int s = 0; s < arj::kLitLenSymbols; ++s) bits += std::uint64_t{counts.lit_len[s]} * codes.lit_len_lengths[s];
  }

  only = 0;
  if (used_symbols(counts.distance, arj::kDistanceSymbols, &only) <= 1) {
    codes.distance_single = only;
    codes.distance_count = 0;
    std::fill(codes.distance_lengths, codes.distance_lengths + arj::kDistanceSymbols, 0);
    bits += 10;
  } else {
    codes.distance_single = -1;
    build_code_lengths(counts.distance, arj::kDistanceSymbols, arj::kMaxCodeLength, codes.distance_lengths);
    assign_canonical_codes(codes.distance_lengths, arj::kDistanceSymbols, codes.distance_codes);
    codes.distance_count = trimmed_count(codes.distance_lengths, arj::kDistanceSymbols);
    bits += 5;
    for (int s = 0; s < codes.distance_count; ++s) bits += short_length_bits(codes.distance_lengths[s]);
    for (int s = 0; s < arj::kDistanceSymbols; ++s) bits += std::uint64_t{counts.distance[s]} * codes.distance_lengths[s];
  }
  for (int s = 2; s < arj::kDistanceSymbols; ++s) bits += std::uint64_t{counts.distance[s]} * static_cast<unsigned>(s - 1);

  if (codes.lit_len_single >= 0) {
    codes.length_item_count = 0;
    codes.code_len_single = 0;
    codes.code_len_count = 0;
    bits += 10 + 18;
  } else {
    // A first guess at the costs, then the run choice again with the real code.
    make_length_items(codes, ZeroRunCoder(3, 3 + 4, 3 + 9));
    build_code_len_code(codes);
    make_length_items(codes, ZeroRunCoder(item_cost(codes, 0), item_cost(codes, 1) + 4, item_cost(codes, 2) + 9));
    build_code_len_code(codes);
    bits += 9;
    for (int k = 0; k < codes.length_item_count; ++k) {
      const unsigned symbol = codes.length_items[k];
      bits += item_cost(codes, symbol) + (symbol == 1 ? 4 : symbol == 2 ? 9 : 0);
    }
    if (codes.code_len_single >= 0) {
      bits += 10;
    } else {
      bits += 5;
      for (int s = 0; s < codes.code_len_count; ++s) bits += short_length_bits(codes.code_len_lengths[s]);
      if (codes.code_len_count >= 3) bits += 2 - 3u * static_cast<unsigned>(skipped_zeros(codes));
    }
  }
  codes.total_bits = bits;
}

void write_block(BitWriter &out, const BlockCodes &codes, const LzToken *tokens, std::size_t count) {
  out.put(16, static_cast<std::uint32_t>(count));

  if (codes.code_len_single >= 0) {
    out.put(5, 0);
    out.put(5, static_cast<std::uint32_t>(codes.code_len_single));
  } else {
    out.put(5, static_cast<std::uint32_t>(codes.code_len_count));
    for (int i = 0; i < codes.code_len_count; ++i) {
      put_short_length(out, codes.code_len_lengths[i]);
      if (i == 2) {
        const int z = skipped_zeros(codes);
        out.put(2, static_cast<std::uint32_t>(z));
        i += z;
      }
    }
  }

  if (codes.lit_len_single >= 0) {
    out.put(9, 0);
    out.put(9, static_cast<std::uint32_t>(codes.lit_len_single));
  } else {
    out.put(9, static_cast<std::uint32_t>(codes.lit_len_count));
    const bool coded = codes.code_len_single < 0;
    for (int k = 0; k < codes.length_item_count; ++k) {
      const unsigned symbol = codes.length_items[k];
      if (coded) out.put(codes.code_len_lengths[symbol], codes.code_len_codes[symbol]);
      if (symbol == 1) out.put(4, codes.length_item_extra[k]);
      if (symbol == 2) out.put(9, codes.length_item_extra[k]);
    }
  }

  if (codes.distance_single >= 0) {
    out.put(5, 0);
    out.put(5, static_cast<std::uint32_t>(codes.distance_single));
  } else {
    out.put(5, static_cast<std::uint32_t>(codes.distance_count));
    for (int i = 0; i < codes.distance_count; ++i) put_short_length(out, codes.distance_lengths[i]);
  }

  const bool lit_len_coded = codes.lit_len_single < 0;
  const bool distance_coded = codes.distance_single < 0;
  for (std::size_t i = 0; i < count; ++i) {
    const LzToken t = tokens[i];
    const unsigned symbol = token_symbol(t);
    if (lit_len_coded) out.put(codes.lit_len_lengths[symbol], codes.lit_len_codes[symbol]);
    if (symbol >= kFirstLengthSymbol) {
      const unsigned value = token_distance_value(t);
      const unsigned ds = distance_symbol(value);
      const unsigned extra_bits = ds > 1 ? ds - 1 : 0;
      const std::uint32_t extra = value - (ds > 1 ? 1u << extra_bits : value);
      if (distance_coded) {
        const unsigned code_bits = codes.distance_lengths[ds];
        out.put(code_bits + extra_bits, (static_cast<std::uint32_t>(codes.distance_codes[ds]) << extra_bits) | extra);
      } else {
        out.put(extra_bits, extra);
      }
    }
  }
}

}  // namespace pack
