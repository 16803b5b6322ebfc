// The two compressors and the choice of method for one entry. The input is
// one whole entry in memory; the result is its packed data.
#ifndef PACK_COMPRESSOR_H
#define PACK_COMPRESSOR_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "pack/compression_level.h"

namespace pack {

// Told now and then how many input bytes are done.
using ProgressFn = std::function<void(std::uint64_t done)>;

// Method 1 (the stream that methods 1 to 3 share).
std::vector<std::uint8_t> compress_lzh(const std::uint8_t *data, std::size_t size, int level = kDefaultLevel,
                                       const ProgressFn &progress = nullptr);

// Method 4 (fixed prefix codes, matches up to 15872 bytes back).
std::vector<std::uint8_t> compress_method4(const std::uint8_t *data, std::size_t size, int level = kDefaultLevel,
                                           const ProgressFn &progress = nullptr);

struct PackedData {
  int method = 0;                   // 0, 1 or 4: stored when packing does not pay
  std::vector<std::uint8_t> bytes;  // the entry's packed data
  std::uint32_t crc = 0;            // CRC-32 of the input
};

// Packs one entry with `method` (0, 1 or 4) at `level`.
PackedData pack_data(const std::uint8_t *data, std::size_t size, int method = 1, int level = kDefaultLevel,
                     const ProgressFn &progress = nullptr);

}  // namespace pack

#endif  // PACK_COMPRESSOR_H
