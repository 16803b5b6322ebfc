#include "pack/compression_level.h"

namespace pack {

LevelParams level_params(int level) {
  static const LevelParams kTable[] = {
      {false, 4, 4, 8, 4, 0},          // 1
      {false, 4, 5, 16, 8, 0},         // 2
      {true, 4, 8, 16, 16, 0},         // 3
      {true, 8, 32, 64, 64, 0},        // 4
      // Cost-driven levels: max_chain is the depth of the binary-tree
      // search; a good_length above the longest match never cuts it short.
      {true, 257, 48, 128, 12, 1},     // 5
      {true, 257, 64, 128, 24, 1},     // 6
      {true, 257, 96, 192, 48, 2},     // 7
      {true, 257, 128, 256, 96, 2},    // 8
      {true, 257, 256, 256, 256, 2},   // 9
  };
  if (level < kMinLevel) level = kMinLevel;
  if (level > kMaxLevel) level = kMaxLevel;
  return kTable[level - 1];
}

}  // namespace pack
