// Method 1: parse a segment of tokens at a time and let each segment join
// the open block while one shared set of codes is no dearer than two.
#include <vector>

#include "pack/bit_writer.h"
#include "pack/compressor.h"
#include "pack/lz_parser.h"
#include "pack/lzh_block.h"
#include "pack/optimal_parser.h"

namespace pack {
namespace {

constexpr std::size_t kSegmentTokens = 2048;
// Three-byte matches further back than this cost more than three literals.
constexpr unsigned kFarShortMatch = 4096;
// Farthest reach back: a whole window less one byte.
constexpr unsigned kMaxBack = arj::kWindowSize - 1;

class BlockSplitter {
 public:
  explicit BlockSplitter(BitWriter &out) : out_(out) {}

  void add_segment(const LzToken *tokens, std::size_t count) {
    if (count == 0) return;
    SymbolCounts segment;
    segment.add(tokens, count);
    if (!tokens_.empty()) {
      bool join = tokens_.size() + count <= kMaxBlockSymbols;
      if (join) {
        SymbolCounts merged = counts_;
        merged.add(segment);
        plan_block(merged, trial_);
        plan_block(segment, segment_plan_);
        join = trial_.total_bits <= open_plan_.total_bits + segment_plan_.total_bits;
        if (join) {
          counts_ = merged;
          open_plan_ = trial_;
          tokens_.insert(tokens_.end(), tokens, tokens + count);
          return;
        }
        write_block(out_, open_plan_, tokens_.data(), tokens_.size());
        tokens_.assign(tokens, tokens + count);
        counts_ = segment;
        open_plan_ = segment_plan_;
        return;
      }
      write_block(out_, open_plan_, tokens_.data(), tokens_.size());
    }
    tokens_.assign(tokens, tokens + count);
    counts_ = segment;
    plan_block(counts_, open_plan_);
  }

  void finish() {
    if (!tokens_.empty()) write_block(out_, open_plan_, tokens_.data(), tokens_.size());
    tokens_.clear();
  }

 private:
  BitWriter &out_;
  std::vector<LzToken> tokens_;
  SymbolCounts counts_;
  BlockCodes open_plan_;
  BlockCodes trial_;
  BlockCodes segment_plan_;
};

template <typename Parser>
void run_parser(Parser &parser, BlockSplitter &splitter, const ProgressFn &progress) {
  std::vector<LzToken> segment;
  segment.reserve(kSegmentTokens + 1);
  bool more = true;
  while (more) {
    segment.clear();
    more = parser.parse(segment, kSegmentTokens);
    splitter.add_segment(segment.data(), segment.size());
    if (progress) progress(parser.position());
  }
}

}  // namespace

std::vector<std::uint8_t> compress_lzh(const std::uint8_t *data, std::size_t size, int level,
                                       const ProgressFn &progress) {
  std::vector<std::uint8_t> packed;
  packed.reserve(size / 2 + 64);
  BitWriter out(packed);
  const LevelParams params = level_params(level);
  BlockSplitter splitter(out);
  if (params.optimal_passes > 0) {
    OptimalParser parser(data, size, params, kMaxBack, params.optimal_passes);
    run_parser(parser, splitter, progress);
  } else {
    LzParser parser(data, size, params, kMaxBack, kFarShortMatch);
    run_parser(parser, splitter, progress);
  }
  splitter.finish();
  out.flush();
  return packed;
}

}  // namespace pack
