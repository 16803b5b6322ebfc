// zlib as a peer: raw deflate streams (no zlib wrapper, so the sizes count
// packed data only, as an archive entry's packed size does).
#ifndef BENCH_ZLIB_CODEC_H
#define BENCH_ZLIB_CODEC_H

#include <cstddef>
#include <vector>

#include <zlib.h>

namespace bench {

class ZlibDeflater {
 public:
  explicit ZlibDeflater(int level);
  ~ZlibDeflater();
  ZlibDeflater(const ZlibDeflater &) = delete;
  ZlibDeflater &operator=(const ZlibDeflater &) = delete;

  bool ok() const { return ready_; }
  // Packs one whole buffer into `out` (resized to the packed length).
  bool compress(const unsigned char *data, std::size_t length, std::vector<unsigned char> &out);

 private:
  z_stream stream_{};
  bool ready_ = false;
};

class ZlibInflater {
 public:
  ZlibInflater();
  ~ZlibInflater();
  ZlibInflater(const ZlibInflater &) = delete;
  ZlibInflater &operator=(const ZlibInflater &) = delete;

  bool ok() const { return ready_; }
  // Unpacks one whole stream into `out`, which must hold exactly the
  // unpacked length.
  bool decompress(const unsigned char *packed, std::size_t packed_length, unsigned char *out,
                  std::size_t out_length);

 private:
  z_stream stream_{};
  bool ready_ = false;
};

}  // namespace bench

#endif  // BENCH_ZLIB_CODEC_H
