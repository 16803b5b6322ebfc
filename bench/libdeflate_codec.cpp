#include "bench/libdeflate_codec.h"

#include <libdeflate.h>

namespace bench {

LibdeflateCompressor::LibdeflateCompressor(int level) : compressor_(libdeflate_alloc_compressor(level)) {}

LibdeflateCompressor::~LibdeflateCompressor() {
  if (compressor_) libdeflate_free_compressor(compressor_);
}

bool LibdeflateCompressor::compress(const unsigned char *data, std::size_t length,
                                    std::vector<unsigned char> &out) {
  if (!compressor_) return false;
  out.resize(libdeflate_deflate_compress_bound(compressor_, length));
  const std::size_t packed = libdeflate_deflate_compress(compressor_, data, length, out.data(), out.size());
  if (packed == 0 && length != 0) return false;
  out.resize(packed);
  return true;
}

LibdeflateDecompressor::LibdeflateDecompressor() : decompressor_(libdeflate_alloc_decompressor()) {}

LibdeflateDecompressor::~LibdeflateDecompressor() {
  if (decompressor_) libdeflate_free_decompressor(decompressor_);
}

bool LibdeflateDecompressor::decompress(const unsigned char *packed, std::size_t packed_length,
                                        unsigned char *out, std::size_t out_length) {
  if (!decompressor_) return false;
  return libdeflate_deflate_decompress(decompressor_, packed, packed_length, out, out_length, nullptr) ==
         LIBDEFLATE_SUCCESS;
}

std::uint32_t libdeflate_crc(const unsigned char *data, std::size_t length) {
  return libdeflate_crc32(0, data, length);
}

}  // namespace bench
