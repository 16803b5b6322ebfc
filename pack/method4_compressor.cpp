// Method 4: the same parsing, written with the fixed codes: a length value
// (0 for a literal) in a prefix code of widths 0 to 7, the literal as 8 plain
// bits, and a distance value in a prefix code of widths 9 to 13.
#include <vector>

#include "pack/bit_writer.h"
#include "pack/compressor.h"
#include "pack/lz_parser.h"

namespace pack {
namespace {

constexpr unsigned kMethod4MaxBack = 15872;  // distance values 0 to 15871
constexpr std::size_t kSegmentTokens = 16384;
// A far 3-byte match costs 20 bits against 27 for three literals, so every
// one of them pays.
constexpr unsigned kKeepAllShortMatches = 1u << 30;

// Width w of value v in a code whose widths start at `first`: base(w) =
// 2^w − 2^first; w ones (less `first`) then a 0 unless w is the last width.
inline void put_prefixed(BitWriter &out, unsigned value, unsigned first, unsigned last) {
  unsigned width = first;
  unsigned base = 0;
  while (width < last && value >= base + (1u << width)) {
    base += 1u << width;
    ++width;
  }
  const unsigned ones = width - first;
  if (width < last) {
    out.put(ones + 1, ((1u << ones) - 1u) << 1);
  } else {
    out.put(ones, (1u << ones) - 1u);
  }
  out.put(width, value - base);
}

}  // namespace

std::vector<std::uint8_t> compress_method4(const std::uint8_t *data, std::size_t size, int level,
                                           const ProgressFn &progress) {
  std::vector<std::uint8_t> packed;
  packed.reserve(size / 2 + 64);
  BitWriter out(packed);
  LzParser parser(data, size, level_params(level), kMethod4MaxBack, kKeepAllShortMatches);
  std::vector<LzToken> tokens;
  tokens.reserve(kSegmentTokens + 1);
  bool more = true;
  while (more) {
    tokens.clear();
    more = parser.parse(tokens, kSegmentTokens);
    for (const LzToken t : tokens) {
      if (!token_is_match(t)) {
        out.put(9, token_symbol(t));  // a 0 bit, then the byte
        continue;
      }
      put_prefixed(out, token_length(t) - 2, 0, 7);
      put_prefixed(out, token_distance_value(t), 9, 13);
    }
    if (progress) progress(parser.position());
  }
  out.flush();
  return packed;
}

}  // namespace pack
