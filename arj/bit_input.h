// Bit input over the current entry's packed data: bits are taken from each
// byte most significant first. Never more than the entry's packed size is read
// from the archive (`packed_remaining` counts down); past it, zero bits follow.
// An archive that ends before the packed size is used up yields 255 bytes.
//
// The decoders copy the reader into a local `BitReader` so that its fields live
// in registers while they write output, and hand it back when they are done.
#ifndef ARJ_BIT_INPUT_H
#define ARJ_BIT_INPUT_H

#include <cstdint>
#include <cstring>

#include "arj/engine_state.h"

namespace arj {

// After refill() at least this many bits are held.
constexpr int kBitsAfterRefill = 56;

struct BitReader {
  std::uint64_t buf;          // next stream bits, left-aligned
  int held;                   // how many top bits of buf are valid
  const unsigned char *next;  // next packed byte in the archive buffer
  const unsigned char *fast_end;  // bytes before this are in the buffer and in budget
  const unsigned char *base;      // `next` when the reader was loaded

  std::uint32_t peek(int n) const { return static_cast<std::uint32_t>(buf >> (64 - n)); }
  void consume(int n) {
    buf <<= n;
    held -= n;
  }
  // n from 0 to 32 bits, which must be held.
  std::uint32_t take(int n) {
    if (n == 0) return 0;
    const std::uint32_t v = peek(n);
    consume(n);
    return v;
  }
};

// The 8 bytes at p as a big-endian number: the first byte in the top bits.
inline std::uint64_t load_be64(const unsigned char *p) {
#if defined(__GNUC__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  std::uint64_t w;
  std::memcpy(&w, p, 8);
  return __builtin_bswap64(w);
#else
  std::uint64_t w = 0;
  for (int i = 0; i < 8; ++i) w = (w << 8) | p[i];
  return w;
#endif
}

BitReader bits_load();
void bits_store(const BitReader &r);
BitReader bits_refill_slow(BitReader r);

// Brings the reader up to at least kBitsAfterRefill bits.
inline void refill(BitReader &r) {
  if (r.fast_end - r.next >= 8) {
    // The bits past the whole bytes counted are the same stream bits that the
    // next refill puts there, so OR-ing them in early is harmless.
    r.buf |= load_be64(r.next) >> r.held;
    r.next += (63 - r.held) >> 3;
    r.held |= kBitsAfterRefill;  // held + 8 * bytes taken, for held below 64
    return;
  }
  if (r.held < kBitsAfterRefill) r = bits_refill_slow(r);
}

// refill() for callers that know at least 8 bytes are left before fast_end.
inline void refill_unchecked(BitReader &r) {
  r.buf |= load_be64(r.next) >> r.held;
  r.next += (63 - r.held) >> 3;
  r.held |= kBitsAfterRefill;
}

// Starts the bit input for an entry whose packed data the archive stream
// stands at, with `packed_remaining` holding its size.
void bits_start();
// Uses up the top n bits (0 to 16) of the stream.
void bits_fill(int n);
// Returns the next n bits (0 to 16) as a number and uses them up.
std::uint16_t bits_take(int n);
// The next 16 bits of the stream, the first one in bit 15.
std::uint16_t bit_buffer16();

}  // namespace arj

#endif  // ARJ_BIT_INPUT_H
