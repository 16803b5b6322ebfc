// One parsed token of the sliding-window stream: a literal byte, or a match
// held as its literal/length symbol (length + 253) and its distance value
// (bytes back − 1) in the upper half.
#ifndef PACK_LZ_TOKEN_H
#define PACK_LZ_TOKEN_H

#include <cstdint>

namespace pack {

using LzToken = std::uint32_t;

constexpr unsigned kFirstLengthSymbol = 256;  // symbol of a 3-byte match
constexpr int kLengthSymbolBias = 253;        // symbol = length + bias

inline LzToken literal_token(std::uint8_t byte) { return byte; }
inline LzToken match_token(unsigned length, unsigned back) {
  return (length + kLengthSymbolBias) | ((back - 1) << 16);
}
inline unsigned token_symbol(LzToken t) { return t & 0xFFFF; }
inline bool token_is_match(LzToken t) { return (t & 0xFFFF) >= kFirstLengthSymbol; }
inline unsigned token_length(LzToken t) { return (t & 0xFFFF) - kLengthSymbolBias; }
inline unsigned token_distance_value(LzToken t) { return t >> 16; }

}  // namespace pack

#endif  // PACK_LZ_TOKEN_H
