#include "bench/zlib_codec.h"

#include <limits>

namespace bench {

namespace {
constexpr int kRawDeflateWindowBits = -15;
constexpr int kDefaultMemLevel = 8;

bool fits_uint(std::size_t length) { return length <= std::numeric_limits<uInt>::max(); }
}  // namespace

ZlibDeflater::ZlibDeflater(int level) {
  ready_ = deflateInit2(&stream_, level, Z_DEFLATED, kRawDeflateWindowBits, kDefaultMemLevel,
                        Z_DEFAULT_STRATEGY) == Z_OK;
}

ZlibDeflater::~ZlibDeflater() {
  if (ready_) deflateEnd(&stream_);
}

bool ZlibDeflater::compress(const unsigned char *data, std::size_t length, std::vector<unsigned char> &out) {
  if (!ready_ || !fits_uint(length) || deflateReset(&stream_) != Z_OK) return false;
  out.resize(deflateBound(&stream_, static_cast<uLong>(length)));
  stream_.next_in = const_cast<unsigned char *>(data);
  stream_.avail_in = static_cast<uInt>(length);
  stream_.next_out = out.data();
  stream_.avail_out = static_cast<uInt>(out.size());
  if (deflate(&stream_, Z_FINISH) != Z_STREAM_END) return false;
  out.resize(stream_.total_out);
  return true;
}

ZlibInflater::ZlibInflater() { ready_ = inflateInit2(&stream_, kRawDeflateWindowBits) == Z_OK; }

ZlibInflater::~ZlibInflater() {
  if (ready_) inflateEnd(&stream_);
}

bool ZlibInflater::decompress(const unsigned char *packed, std::size_t packed_length, unsigned char *out,
                              std::size_t out_length) {
  if (!ready_ || !fits_uint(packed_length) || !fits_uint(out_length) || inflateReset(&stream_) != Z_OK) {
    return false;
  }
  stream_.next_in = const_cast<unsigned char *>(packed);
  stream_.avail_in = static_cast<uInt>(packed_length);
  // zlib refuses a null output pointer even when there is no room to fill.
  unsigned char no_room = 0;
  stream_.next_out = out_length ? out : &no_room;
  stream_.avail_out = static_cast<uInt>(out_length);
  return inflate(&stream_, Z_FINISH) == Z_STREAM_END && stream_.total_out == out_length;
}

}  // namespace bench
