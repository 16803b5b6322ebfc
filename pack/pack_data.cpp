#include <stdexcept>

#include "arj/crc32.h"
#include "arj/format.h"
#include "pack/compressor.h"

namespace pack {

PackedData pack_data(const std::uint8_t *data, std::size_t size, int method, int level,
                     const ProgressFn &progress) {
  PackedData result;
  result.crc = arj::crc32_of(data, size);
  if (method == arj::kMethodLzh) {
    result.bytes = compress_lzh(data, size, level, progress);
  } else if (method == arj::kMethod4) {
    result.bytes = compress_method4(data, size, level, progress);
  } else if (method != arj::kMethodStored) {
    throw std::invalid_argument("unknown packing method");
  }
  result.method = method;
  // Stored when packing does not pay (an empty entry is stored too).
  if (method == arj::kMethodStored || result.bytes.size() >= size) {
    result.method = arj::kMethodStored;
    result.bytes.assign(data, data + size);
  }
  return result;
}

}  // namespace pack
