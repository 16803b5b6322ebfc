#include "pack/lz_parser.h"

#include <algorithm>
#include <cstring>

#include "arj/format.h"
#include "pack/match_length.h"

namespace pack {

LzParser::LzParser(const std::uint8_t *data, std::size_t size, const LevelParams &params, unsigned max_back,
                   unsigned far_short_match)
    : data_(data),
      size_(size),
      params_(params),
      max_back_(std::min(max_back, kChainSize - 1)),
      far_short_match_(far_short_match),
      head_(std::size_t{1} << kHashBits, -1),
      chain_(kChainSize, -1) {}

unsigned LzParser::longest_match(std::size_t pos, std::int32_t candidate, unsigned best_length,
                                 unsigned chain_limit, unsigned &back) const {
  const unsigned max_length = static_cast<unsigned>(std::min<std::size_t>(arj::kMaxMatch, size_ - pos));
  if (max_length < arj::kMinMatch || best_length >= max_length) return 0;
  const std::int64_t lowest = static_cast<std::int64_t>(pos) - max_back_;
  const std::uint8_t *here = data_ + pos;
  unsigned found = 0;
  unsigned best = best_length;
  const unsigned nice = std::min(params_.nice_length, max_length);
  while (candidate >= 0 && candidate >= lowest && chain_limit-- > 0) {
    const std::uint8_t *there = data_ + candidate;
    if (there[best] == here[best] && there[0] == here[0] && there[1] == here[1]) {
      const unsigned length = common_length(there, here, max_length);
      if (length > best) {
        best = length;
        found = length;
        back = static_cast<unsigned>(pos - static_cast<std::size_t>(candidate));
        if (length >= nice) break;
      }
    }
    const std::int32_t next = chain_[static_cast<std::size_t>(candidate) & (kChainSize - 1)];
    if (next >= candidate) break;
    candidate = next;
  }
  if (found == arj::kMinMatch && back > far_short_match_) return 0;
  return found;
}

bool LzParser::parse(std::vector<LzToken> &out, std::size_t target) {
  return params_.lazy ? parse_lazy(out, target) : parse_greedy(out, target);
}

bool LzParser::parse_greedy(std::vector<LzToken> &out, std::size_t target) {
  while (pos_ < size_) {
    if (out.size() >= target) return true;
    unsigned length = 0;
    unsigned back = 0;
    if (pos_ + arj::kMinMatch <= size_) {
      const std::int32_t candidate = insert(pos_);
      length = longest_match(pos_, candidate, arj::kMinMatch - 1, params_.max_chain, back);
    }
    if (length >= arj::kMinMatch) {
      out.push_back(match_token(length, back));
      const std::size_t end = pos_ + length;
      if (length <= params_.max_lazy) {
        const std::size_t last = std::min(end, size_ - std::min<std::size_t>(size_, arj::kMinMatch - 1));
        for (std::size_t p = pos_ + 1; p < last; ++p) insert(p);
      }
      pos_ = end;
    } else {
      out.push_back(literal_token(data_[pos_]));
      ++pos_;
    }
  }
  return false;
}

bool LzParser::parse_lazy(std::vector<LzToken> &out, std::size_t target) {
  // pending_: the byte at pos_ − 1 is not emitted yet; pending_length_ is the
  // match found there (below 3: none).
  while (pos_ < size_) {
    if (out.size() >= target) return true;
    const unsigned previous_length = pending_ ? pending_length_ : 0;
    const unsigned previous_back = pending_back_;
    unsigned length = 0;
    unsigned back = 0;
    if (pos_ + arj::kMinMatch <= size_) {
      const std::int32_t candidate = insert(pos_);
      if (previous_length < params_.max_lazy) {
        const unsigned chain =
            previous_length >= params_.good_length ? params_.max_chain / 4 + 1 : params_.max_chain;
        length = longest_match(pos_, candidate, std::max<unsigned>(previous_length, arj::kMinMatch - 1), chain,
                               back);
      }
    }
    if (previous_length >= arj::kMinMatch && length <= previous_length) {
      // The match at pos_ − 1 stands; enter the rest of its positions.
      out.push_back(match_token(previous_length, previous_back));
      const std::size_t end = pos_ - 1 + previous_length;
      const std::size_t last = std::min(end, size_ - (arj::kMinMatch - 1));
      for (std::size_t p = pos_ + 1; p < last; ++p) insert(p);
      pos_ = end;
      pending_ = false;
      continue;
    }
    if (pending_) out.push_back(literal_token(data_[pos_ - 1]));
    pending_ = true;
    pending_length_ = length;
    pending_back_ = back;
    ++pos_;
  }
  if (pending_) {
    out.push_back(literal_token(data_[pos_ - 1]));
    pending_ = false;
  }
  return false;
}

}  // namespace pack
