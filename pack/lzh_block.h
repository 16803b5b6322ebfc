// One block of the method 1-3 stream: the symbol statistics of a run of
// tokens, the codes chosen for them, and the writing of the block.
#ifndef PACK_LZH_BLOCK_H
#define PACK_LZH_BLOCK_H

#include <cstddef>
#include <cstdint>

#include "arj/format.h"
#include "pack/bit_writer.h"
#include "pack/lz_token.h"

namespace pack {

// Symbols of a block at most (the block size field is 16 bits wide).
constexpr std::size_t kMaxBlockSymbols = 65535;

struct SymbolCounts {
  std::uint32_t lit_len[arj::kLitLenSymbols] = {};
  std::uint32_t distance[arj::kDistanceSymbols] = {};

  void add(const LzToken *tokens, std::size_t count);
  void add(const SymbolCounts &other);
};

// Distance symbol of a distance value: 0 for 0, else its bit length.
inline unsigned distance_symbol(unsigned value) {
  return value == 0 ? 0u : 32u - static_cast<unsigned>(__builtin_clz(value));
}

// The codes of one block and what writing it costs.
struct BlockCodes {
  std::uint8_t lit_len_lengths[arj::kLitLenSymbols] = {};
  std::uint16_t lit_len_codes[arj::kLitLenSymbols] = {};
  std::uint8_t distance_lengths[arj::kDistanceSymbols] = {};
  std::uint16_t distance_codes[arj::kDistanceSymbols] = {};
  std::uint8_t code_len_lengths[arj::kCodeLenSymbols] = {};
  std::uint16_t code_len_codes[arj::kCodeLenSymbols] = {};
  int lit_len_single = -1;   // the one-symbol form's symbol, else -1
  int distance_single = -1;
  int code_len_single = -1;
  // How the literal/length lengths are sent: code-length symbols with their
  // extra bits (4 for symbol 1, 9 for symbol 2).
  std::uint16_t length_items[arj::kLitLenSymbols];
  std::uint16_t length_item_extra[arj::kLitLenSymbols];
  int length_item_count = 0;
  int lit_len_count = 0;   // lengths sent (trailing zeros dropped)
  int distance_count = 0;
  int code_len_count = 0;
  std::uint64_t total_bits = 0;  // header and symbols
};

// Chooses the codes for a block with these counts and works out its size.
void plan_block(const SymbolCounts &counts, BlockCodes &codes);

// Writes a block of `count` tokens (1 to kMaxBlockSymbols) with planned codes.
void write_block(BitWriter &out, const BlockCodes &codes, const LzToken *tokens, std::size_t count);

}  // namespace pack

#endif  // PACK_LZH_BLOCK_H
