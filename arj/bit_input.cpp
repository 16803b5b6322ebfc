#include "arj/bit_input.h"

#include "arj/engine_streams.h"

namespace arj {
namespace {

// The next packed byte: from the archive while the budget lasts (255 when the
// archive ends early), 0 after it.
unsigned next_packed_byte() {
  EngineState &g = engine();
  if (g.packed_remaining == 0) return 0;
  g.packed_remaining = static_cast<std::int32_t>(static_cast<std::uint32_t>(g.packed_remaining) - 1u);
  const int b = archive_get();
  return b < 0 ? 255u : static_cast<unsigned>(b);
}

}  // namespace

BitReader bits_load() {
  const EngineState &g = engine();
  BitReader r;
  r.buf = g.bit_buffer;
  r.held = g.bits_held;
  const ArchiveInput &in = g.archive_file;
  std::size_t available = g.archive_open ? in.end - in.pos : 0;
  // A negative budget is never counted down to zero: only the buffer bounds it.
  if (g.packed_remaining >= 0 && static_cast<std::size_t>(g.packed_remaining) < available)
    available = static_cast<std::size_t>(g.packed_remaining);
  r.next = in.buffer + in.pos;
  r.fast_end = r.next + available;
  r.base = r.next;
  return r;
}

void bits_store(const BitReader &r) {
  EngineState &g = engine();
  const std::size_t used = static_cast<std::size_t>(r.next - r.base);
  g.archive_file.pos += used;
  g.packed_remaining =
      static_cast<std::int32_t>(static_cast<std::uint32_t>(g.packed_remaining) - static_cast<std::uint32_t>(used));
  g.bit_buffer = r.buf;
  g.bits_held = r.held;
}

BitReader bits_refill_slow(BitReader r) {
  bits_store(r);
  EngineState &g = engine();
  // Top the buffer up from the archive first, so the fast path can resume.
  if (g.archive_open && g.packed_remaining != 0) archive_buffered();
  BitReader fresh = bits_load();
  if (fresh.fast_end - fresh.next >= 8) {
    refill(fresh);
    return fresh;
  }
  while (g.bits_held < kBitsAfterRefill) {
    g.bit_buffer |= static_cast<std::uint64_t>(next_packed_byte()) << (56 - g.bits_held);
    g.bits_held += 8;
  }
  return bits_load();
}

void bits_start() {
  engine().bit_buffer = 0;
  engine().bits_held = 0;
  BitReader r = bits_load();
  refill(r);
  bits_store(r);
}

void bits_fill(int n) {
  BitReader r = bits_load();
  refill(r);
  r.consume(n);
  refill(r);
  bits_store(r);
}

std::uint16_t bits_take(int n) {
  BitReader r = bits_load();
  refill(r);
  const std::uint32_t v = r.take(n);
  refill(r);
  bits_store(r);
  return static_cast<std::uint16_t>(v);
}

std::uint16_t bit_buffer16() {
  BitReader r = bits_load();
  refill(r);
  bits_store(r);
  return static_cast<std::uint16_t>(r.buf >> 48);
}

}  // namespace arj
