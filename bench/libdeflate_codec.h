// libdeflate as a peer: raw deflate streams, whole buffers at a time.
#ifndef BENCH_LIBDEFLATE_CODEC_H
#define BENCH_LIBDEFLATE_CODEC_H

#include <cstddef>
#include <cstdint>
#include <vector>

struct libdeflate_compressor;
struct libdeflate_decompressor;

namespace bench {

class LibdeflateCompressor {
 public:
  explicit LibdeflateCompressor(int level);
  ~LibdeflateCompressor();
  LibdeflateCompressor(const LibdeflateCompressor &) = delete;
  LibdeflateCompressor &operator=(const LibdeflateCompressor &) = delete;

  bool ok() const { return compressor_ != nullptr; }
  bool compress(const unsigned char *data, std::size_t length, std::vector<unsigned char> &out);

 private:
  libdeflate_compressor *compressor_ = nullptr;
};

class LibdeflateDecompressor {
 public:
  LibdeflateDecompressor();
  ~LibdeflateDecompressor();
  LibdeflateDecompressor(const LibdeflateDecompressor &) = delete;
  LibdeflateDecompressor &operator=(const LibdeflateDecompressor &) = delete;

  bool ok() const { return decompressor_ != nullptr; }
  // `out` must hold exactly the unpacked length.
  bool decompress(const unsigned char *packed, std::size_t packed_length, unsigned char *out,
                  std::size_t out_length);

 private:
  libdeflate_decompressor *decompressor_ = nullptr;
};

// libdeflate's CRC-32 (the same polynomial as the archive's), for a peer
// that checks its output as our engine must.
std::uint32_t libdeflate_crc(const unsigned char *data, std::size_t length);

}  // namespace bench

#endif  // BENCH_LIBDEFLATE_CODEC_H
