// Turns input bytes into literals and matches: hash chains over the window,
// greedy or one-step lazy parsing depending on the level. The parser works
// through the input a run of tokens at a time, so a caller can cut blocks as
// it goes without holding the tokens of the whole input.
#ifndef PACK_LZ_PARSER_H
#define PACK_LZ_PARSER_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "pack/compression_level.h"
#include "pack/lz_token.h"

namespace pack {

class LzParser {
 public:
  // `max_back` is the farthest a match may reach back (at most 32768).
  // `far_short_match` drops 3-byte matches that reach back further than this:
  // they cost more than the three literals.
  LzParser(const std::uint8_t *data, std::size_t size, const LevelParams &params, unsigned max_back,
           unsigned far_short_match);

  // Appends tokens to `out` until it holds at least `target` tokens (it may
  // hold one more) or the input is used up. Returns false once everything
  // has been parsed.
  bool parse(std::vector<LzToken> &out, std::size_t target);

  std::size_t position() const { return pos_; }

 private:
  static constexpr unsigned kHashBits = 15;
  static constexpr unsigned kChainSize = 32768;

  std::uint32_t hash_at(std::size_t pos) const {
    const std::uint8_t *p = data_ + pos;
    const std::uint32_t v = p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
    return (v * 0x9E3779B1u) >> (32 - kHashBits);
  }
  // Enters `pos` into its chain and returns the previous head (-1: none).
  std::int32_t insert(std::size_t pos) {
    const std::uint32_t h = hash_at(pos);
    const std::int32_t previous = head_[h];
    chain_[pos & (kChainSize - 1)] = previous;
    head_[h] = static_cast<std::int32_t>(pos);
    return previous;
  }
  // Longest match at `pos` better than `best_length`, from chain start `candidate`.
  unsigned longest_match(std::size_t pos, std::int32_t candidate, unsigned best_length, unsigned chain_limit,
                         unsigned &back) const;
  bool parse_greedy(std::vector<LzToken> &out, std::size_t target);
  bool parse_lazy(std::vector<LzToken> &out, std::size_t target);

  const std::uint8_t *data_;
  std::size_t size_;
  LevelParams params_;
  unsigned max_back_;
  unsigned far_short_match_;
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> chain_;
  std::size_t pos_ = 0;
  // Lazy parsing: a match found at pos_ − 1 waiting for the look at pos_.
  bool pending_ = false;
  unsigned pending_length_ = 0;
  unsigned pending_back_ = 0;
};

}  // namespace pack

#endif  // PACK_LZ_PARSER_H
