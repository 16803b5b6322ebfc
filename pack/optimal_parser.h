// Cost-driven parsing for the method 1-3 stream. For each chunk of input it
// collects the matches at every position (each one longer than those found
// before it), then finds the cheapest way through the chunk with
// the costs of the codes that the previous tokens would get, and hands the
// tokens out in runs as LzParser does.
#ifndef PACK_OPTIMAL_PARSER_H
#define PACK_OPTIMAL_PARSER_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "pack/compression_level.h"
#include "pack/lz_token.h"

namespace pack {

class OptimalParser {
 public:
  // `passes`: how many times each chunk is parsed, each time with the costs
  // that the previous parse gave.
  OptimalParser(const std::uint8_t *data, std::size_t size, const LevelParams &params, unsigned max_back,
                int passes);

  // Same contract as LzParser::parse.
  bool parse(std::vector<LzToken> &out, std::size_t target);

  std::size_t position() const { return done_; }

 private:
  static constexpr unsigned kHashBits = 15;
  static constexpr unsigned kTreeSize = 32768;  // positions the tree holds (above the window)
  static constexpr std::size_t kChunk = 1 << 16;

  struct Costs {
    std::uint32_t literal[256];
    std::uint32_t length[257];   // by match length 3 to 256
    std::uint32_t distance[17];  // by distance symbol, extra bits included
  };

  // Positions that share a four-byte hash form a binary tree ordered by the
  // bytes that follow them; three-byte matches come from a table that keeps
  // the latest position of each three-byte hash.
  static constexpr unsigned kHash3Bits = 14;
  std::uint32_t hash3_at(std::size_t pos) const {
    const std::uint8_t *p = data_ + pos;
    const std::uint32_t v = p[0] | (static_cast<std::uint32_t>(p[1]) << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
    return (v * 0x9E3779B1u) >> (32 - kHash3Bits);
  }
  std::uint32_t hash4_at(std::size_t pos) const {
    std::uint32_t v;
    std::memcpy(&v, data_ + pos, 4);
    return (v * 0x9E3779B1u) >> (32 - kHashBits);
  }
  // Walks the binary tree from `node` (the last position with the same
  // four-byte hash) looking at most `depth` nodes, records matches longer
  // than `best` (lengths capped at `record_limit`) into matches_, and puts
  // `pos` at the root. Returns the longest length recorded, else `best`.
  unsigned tree_search(std::size_t pos, std::int32_t node, std::int64_t lowest, unsigned record_limit,
                       unsigned depth, unsigned best);
  void find_matches(std::size_t begin, std::size_t end);
  void run_pass(std::size_t begin, std::size_t end, const Costs &costs);
  void greedy_pass(std::size_t begin, std::size_t end);
  void costs_from_tokens(Costs &costs) const;
  void next_chunk();

  const std::uint8_t *data_;
  std::size_t size_;
  LevelParams params_;
  unsigned max_back_;
  int passes_;
  std::vector<std::int32_t> head3_;
  std::vector<std::int32_t> head_;
  std::vector<std::int32_t> child_;  // per position: the roots of its two subtrees
  std::size_t parsed_ = 0;  // input consumed by chunks so far
  std::size_t done_ = 0;    // input covered by tokens handed out
  bool have_costs_ = false;
  Costs costs_{};

  // Per chunk: matches at each position (length << 16 | back), increasing length.
  std::vector<std::uint32_t> match_start_;
  std::vector<std::uint32_t> matches_;
  std::vector<std::uint32_t> price_;
  std::vector<std::uint32_t> step_;  // chosen step into each position: length << 16 | back (back 0: literal)
  std::vector<LzToken> tokens_;
  std::size_t served_ = 0;
};

}  // namespace pack

#endif  // PACK_OPTIMAL_PARSER_H
