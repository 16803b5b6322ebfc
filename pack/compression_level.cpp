#include "pack/compression_level.h"

namespace pack {

LevelParams level_params(int level) {
  static const LevelParams kTable[] = {
      {false, 4, 4, 8, 4},        // 1
      {false, 4, 5, 16, 8},       // 2
      {false, 4, 6, 32, 32},      // 3
      {true, 4, 8, 16, 16},       // 4
      {true, 8, 32, 64, 64},      // 5
      {true, 8, 64, 128, 128},    // 6
      {true, 16, 128, 192, 256},  // 7
      {true, 32, 192, 256, 1024}, // 8
      {true, 32, 256, 256, 4096}, // 9
  };
  if (level < kMinLevel) level = kMinLevel;
  if (level > kMaxLevel) level = kMaxLevel;
  return kTable[level - 1];
}

}  // namespace pack
