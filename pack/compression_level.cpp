#include "pack/compression_level.h"

namespace pack {

LevelParams level_params(int level) {
  static const LevelParams kTable[] = {
      {false, 4, 4, 8, 4, 0},          // 1
      {false, 4, 5, 16, 8, 0},         // 2
      {true, 4, 8, 16, 16, 0},         // 3
      {true, 8, 32, 64, 64, 0},        // 4
      {true, 4, 64, 128, 256, 1},      // 5
      {true, 8, 96, 192, 384, 1},      // 6
      {true, 16, 128, 256, 512, 2},    // 7
      {true, 32, 192, 256, 1024, 2},   // 8
      {true, 32, 256, 256, 4096, 2},   // 9
  };
  if (level < kMinLevel) level = kMinLevel;
  if (level > kMaxLevel) level = kMaxLevel;
  return kTable[level - 1];
}

}  // namespace pack
