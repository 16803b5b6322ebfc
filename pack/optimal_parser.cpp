#include "pack/optimal_parser.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "arj/format.h"
#include "pack/lzh_block.h"
#include "pack/match_length.h"
#include "pack/prefix_code.h"

namespace pack {
namespace {

constexpr std::uint32_t kUnreached = std::numeric_limits<std::uint32_t>::max();
// What a symbol that the last tokens did not use is taken to cost, in bits.
constexpr std::uint32_t kUnusedLitLenCost = 13;
constexpr std::uint32_t kUnusedDistanceCost = 7;

}  // namespace

OptimalParser::OptimalParser(const std::uint8_t *data, std::size_t size, const LevelParams &params,
                             unsigned max_back, int passes)
    : data_(data),
      size_(size),
      params_(params),
      max_back_(std::min(max_back, kTreeSize - 1)),
      passes_(std::max(passes, 1)),
      head3_(std::size_t{1} << kHash3Bits, -1),
      head_(std::size_t{1} << kHashBits, -1),
      child_(2 * std::size_t{kTreeSize}, -1) {}

unsigned OptimalParser::tree_search(std::size_t pos, std::int32_t node, std::int64_t lowest, unsigned record_limit,
                                    unsigned depth, unsigned best) {
  // The tree is ordered by the bytes that follow each position, compared up
  // to the longest match the input allows; the search both finds the matches
  // and re-roots the tree at `pos`.
  const unsigned max_length = static_cast<unsigned>(std::min<std::size_t>(arj::kMaxMatch, size_ - pos));
  // A node that matches `pos` this far is replaced by it, so the tree is
  // ordered only up to this length. The bytes the search skips comparing
  // rely on that order, so the length must not depend on where the caller's
  // chunk ends; it shrinks only at the end of the input, where every later
  // search compares fewer bytes still.
  const unsigned stop_length = std::min(std::max(params_.nice_length, arj::kMinMatch + 1u), max_length);
  // Where nothing is recorded, bytes past the stop length do not matter.
  const unsigned compare_length = record_limit == 0 ? stop_length : max_length;
  std::int32_t *pending_lt = &child_[2 * (pos & (kTreeSize - 1))];
  std::int32_t *pending_gt = pending_lt + 1;
  const std::uint8_t *here = data_ + pos;
  unsigned lt_length = 0;
  unsigned gt_length = 0;
  unsigned length = 0;
  while (node >= 0 && node >= lowest && depth-- > 0) {
    const std::uint8_t *there = data_ + node;
    std::int32_t *node_children = &child_[2 * (static_cast<std::size_t>(node) & (kTreeSize - 1))];
    if (there[length] == here[length]) {
      length = length + 1 + common_length(there + length + 1, here + length + 1, compare_length - length - 1);
      const unsigned recorded = std::min(length, record_limit);
      if (recorded > best) {
        best = recorded;
        matches_.push_back((recorded << 16) | static_cast<std::uint32_t>(pos - static_cast<std::size_t>(node)));
      }
      if (length >= stop_length) {
        *pending_lt = node_children[0];
        *pending_gt = node_children[1];
        return best;
      }
    }
    if (there[length] < here[length]) {
      *pending_lt = node;
      pending_lt = &node_children[1];
      node = *pending_lt;
      lt_length = length;
      length = std::min(length, gt_length);
    } else {
      *pending_gt = node;
      pending_gt = &node_children[0];
      node = *pending_gt;
      gt_length = length;
      length = std::min(length, lt_length);
    }
  }
  *pending_lt = -1;
  *pending_gt = -1;
  return best;
}

void OptimalParser::find_matches(std::size_t begin, std::size_t end) {
  const std::size_t n = end - begin;
  match_start_.resize(n + 1);
  matches_.clear();
  matches_.reserve(n * 2);
  std::size_t skip_until = begin;
  // The longest match at the previous position goes on one byte shorter here.
  unsigned carried_length = 0;
  unsigned carried_back = 0;
  for (std::size_t pos = begin; pos < end; ++pos) {
    const unsigned inherited = carried_length > 0 ? carried_length - 1 : 0;
    carried_length = 0;
    match_start_[pos - begin] = static_cast<std::uint32_t>(matches_.size());
    if (pos + arj::kMinMatch > size_) continue;
    const std::uint32_t h3 = hash3_at(pos);
    const std::int32_t candidate3 = head3_[h3];
    head3_[h3] = static_cast<std::int32_t>(pos);
    const std::int64_t lowest = static_cast<std::int64_t>(pos) - max_back_;
    std::int32_t candidate = -1;
    if (pos + 4 <= size_) {
      const std::uint32_t h = hash4_at(pos);
      candidate = head_[h];
      head_[h] = static_cast<std::int32_t>(pos);
    }
    if (pos < skip_until) {
      // Still threaded into the tree, so later positions can find it.
      if (pos + 4 <= size_) tree_search(pos, candidate, lowest, 0, params_.max_chain, 0);
      continue;
    }
    const unsigned max_length = static_cast<unsigned>(std::min<std::size_t>(arj::kMaxMatch, end - pos));
    if (max_length < arj::kMinMatch) {
      if (pos + 4 <= size_) tree_search(pos, candidate, lowest, 0, params_.max_chain, 0);
      continue;
    }
    const std::uint8_t *here = data_ + pos;
    unsigned best = arj::kMinMatch - 1;
    // With a good match carried over, a short look for a better one will do.
    unsigned chain_left = inherited >= params_.good_length ? params_.max_chain / 8 + 1 : params_.max_chain;
    if (candidate3 >= 0 && candidate3 >= lowest) {
      const std::uint8_t *there = data_ + candidate3;
      if (there[0] == here[0] && there[1] == here[1] && there[2] == here[2]) {
        best = common_length(there, here, max_length);
        matches_.push_back((best << 16) | static_cast<std::uint32_t>(pos - static_cast<std::size_t>(candidate3)));
      }
    }
    best = tree_search(pos, candidate, lowest, max_length, chain_left, best);
    if (inherited > best && inherited <= max_length) {
      best = inherited;
      matches_.push_back((best << 16) | carried_back);
    }
    if (best >= arj::kMinMatch) {
      carried_length = best;
      carried_back = matches_.back() & 0xFFFF;
    }
    // Inside a long match a search would mostly find its own tail again.
    if (best >= params_.max_lazy && best >= arj::kMinMatch) skip_until = pos + best;
  }
  match_start_[n] = static_cast<std::uint32_t>(matches_.size());
}

void OptimalParser::greedy_pass(std::size_t begin, std::size_t end) {
  tokens_.clear();
  std::size_t i = 0;
  const std::size_t n = end - begin;
  while (i < n) {
    const std::uint32_t first = match_start_[i];
    const std::uint32_t last = match_start_[i + 1];
    if (last > first) {
      const std::uint32_t m = matches_[last - 1];
      tokens_.push_back(match_token(m >> 16, m & 0xFFFF));
      i += m >> 16;
    } else {
      tokens_.push_back(literal_token(data_[begin + i]));
      ++i;
    }
  }
}

void OptimalParser::run_pass(std::size_t begin, std::size_t end, const Costs &costs) {
  const std::size_t n = end - begin;
  price_.assign(n + 1, kUnreached);
  step_.resize(n + 1);
  price_[0] = 0;
  const std::uint8_t *bytes = data_ + begin;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t here = price_[i];
    const std::uint32_t via_literal = here + costs.literal[bytes[i]];
    if (via_literal < price_[i + 1]) {
      price_[i + 1] = via_literal;
      step_[i + 1] = 1u << 16;
    }
    unsigned previous = arj::kMinMatch - 1;
    for (std::uint32_t k = match_start_[i]; k < match_start_[i + 1]; ++k) {
      const unsigned length = matches_[k] >> 16;
      const unsigned back = matches_[k] & 0xFFFF;
      const std::uint32_t base = here + costs.distance[distance_symbol(back - 1)];
      for (unsigned l = previous + 1; l <= length; ++l) {
        const std::uint32_t p = base + costs.length[l];
        if (p < price_[i + l]) {
          price_[i + l] = p;
          step_[i + l] = (l << 16) | back;
        }
      }
      previous = length;
    }
  }
  // Walk back from the end, then hand the steps out in order.
  tokens_.clear();
  std::size_t at = n;
  while (at > 0) {
    tokens_.push_back(step_[at]);
    at -= step_[at] >> 16;
  }
  std::reverse(tokens_.begin(), tokens_.end());
  at = 0;
  for (LzToken &t : tokens_) {
    const unsigned length = t >> 16;
    const unsigned back = t & 0xFFFF;
    t = back == 0 ? literal_token(bytes[at]) : match_token(length, back);
    at += length;
  }
}

void OptimalParser::costs_from_tokens(Costs &costs) const {
  SymbolCounts counts;
  counts.add(tokens_.data(), tokens_.size());
  std::uint8_t lit_len[arj::kLitLenSymbols];
  std::uint8_t distance[arj::kDistanceSymbols];
  build_code_lengths(counts.lit_len, arj::kLitLenSymbols, arj::kMaxCodeLength, lit_len);
  build_code_lengths(counts.distance, arj::kDistanceSymbols, arj::kMaxCodeLength, distance);
  for (int s = 0; s < 256; ++s) costs.literal[s] = lit_len[s] != 0 ? lit_len[s] : kUnusedLitLenCost;
  for (unsigned l = arj::kMinMatch; l <= arj::kMaxMatch; ++l) {
    const std::uint8_t c = lit_len[l + kLengthSymbolBias];
    costs.length[l] = c != 0 ? c : kUnusedLitLenCost;
  }
  for (unsigned s = 0; s < arj::kDistanceSymbols; ++s) {
    costs.distance[s] = (distance[s] != 0 ? distance[s] : kUnusedDistanceCost) + (s > 1 ? s - 1 : 0);
  }
}

void OptimalParser::next_chunk() {
  const std::size_t begin = parsed_;
  const std::size_t end = std::min(size_, begin + kChunk);
  find_matches(begin, end);
  int passes = passes_;
  if (!have_costs_) {
    // The first chunk starts from the costs of a plain greedy parse and so
    // takes one pass more.
    greedy_pass(begin, end);
    costs_from_tokens(costs_);
    have_costs_ = true;
    ++passes;
  }
  for (int pass = 0; pass < passes; ++pass) {
    run_pass(begin, end, costs_);
    costs_from_tokens(costs_);
  }
  parsed_ = end;
  served_ = 0;
}

bool OptimalParser::parse(std::vector<LzToken> &out, std::size_t target) {
  while (out.size() < target) {
    if (served_ == tokens_.size()) {
      if (parsed_ == size_) break;
      next_chunk();
      continue;
    }
    const LzToken t = tokens_[served_++];
    done_ += token_is_match(t) ? token_length(t) : 1;
    out.push_back(t);
  }
  return served_ < tokens_.size() || parsed_ < size_;
}

}  // namespace pack
