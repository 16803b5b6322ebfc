// Compression levels, 1 (fastest) to 9 (smallest), and what each one spends
// on the search for matches.
#ifndef PACK_COMPRESSION_LEVEL_H
#define PACK_COMPRESSION_LEVEL_H

namespace pack {

constexpr int kMinLevel = 1;
constexpr int kMaxLevel = 9;
constexpr int kDefaultLevel = 5;

struct LevelParams {
  bool lazy;            // look one byte ahead before taking a match
  unsigned good_length; // a match this long already: search the next one less
  unsigned max_lazy;    // a match this long is taken without looking ahead
                        // (greedy levels: matches up to this length have all
                        // their positions entered into the hash chains;
                        // cost-driven parsing: no search inside such a match)
  unsigned nice_length; // stop searching at a match this long
  unsigned max_chain;   // candidates tried per position (cost-driven
                        // parsing: nodes visited in the match tree)
  int optimal_passes;   // method 1: cost-driven parsing with this many passes
                        // per chunk (0: greedy or lazy as above)
};

LevelParams level_params(int level);

}  // namespace pack

#endif  // PACK_COMPRESSION_LEVEL_H
