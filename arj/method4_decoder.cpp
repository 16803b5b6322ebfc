#include "arj/method4_decoder.h"

#include "arj/bit_input.h"
#include "arj/engine_state.h"
#include "arj/engine_streams.h"
#include "arj/output_window.h"

namespace arj {
namespace {

// Both values start with a run of 1 bits closed by a 0 bit; the run stops by
// itself at 7 bits for a length and 4 for a distance. These tables give the
// run's length for every pattern of the top 7 (or 4) bits.
struct RunTable {
  unsigned char ones[128];
};

constexpr RunTable make_run_table(int bits) {
  RunTable t{};
  for (int i = 0; i < (1 << bits); ++i) {
    int n = 0;
    while (n < bits && (i & (1 << (bits - 1 - n))) != 0) ++n;
    t.ones[i] = static_cast<unsigned char>(n);
  }
  return t;
}

constexpr int kLengthStop = 7;
constexpr int kDistanceFirst = 9;
constexpr int kDistanceStop = 4;  // further widths 9 to 13
constexpr RunTable kLengthRuns = make_run_table(kLengthStop);
constexpr RunTable kDistanceRuns = make_run_table(kDistanceStop);

BitReader decode(OutputWindow &w, BitReader r, int &result) {
  long long remaining = engine().original_size;
  unsigned char *out = w.base + w.pos;
  unsigned char *const flush_at = w.base + kWindowHistory + kWindowRoom;
  while (remaining > 0) {
    // Run until the entry is complete or the window needs writing out.
    unsigned char *const start = out;
    unsigned char *const stop = remaining < flush_at - out ? out + remaining : flush_at;
    do {
      // A token takes at most 7 + 7 + 4 + 13 bits.
      if (r.held < 31) refill(r);
      const int n = kLengthRuns.ones[r.peek(kLengthStop)];
      if (n == 0) {
        *out++ = static_cast<unsigned char>(r.buf >> 55);  // the 8 bits after the 0 bit
        r.consume(9);
        continue;
      }
      r.consume(n < kLengthStop ? n + 1 : kLengthStop);
      const std::uint32_t value = (1u << n) - 1u + r.take(n);
      const std::uint32_t length = value + 2;
      const int m = kDistanceRuns.ones[r.peek(kDistanceStop)];
      r.consume(m < kDistanceStop ? m + 1 : kDistanceStop);
      const std::uint32_t distance = (((1u << m) - 1u) << kDistanceFirst) + r.take(kDistanceFirst + m);
      copy_match(out, distance + 1, length);
      out += length;
    } while (out < stop);
    remaining -= out - start;
    if (out >= flush_at) {
      w.pos = static_cast<std::size_t>(out - w.base);
      const int rc = window_flush(w);
      if (rc != 0) {
        result = rc;
        return r;
      }
      out = w.base + w.pos;
    }
  }
  w.pos = static_cast<std::size_t>(out - w.base);
  result = window_finish(w);
  return r;
}

}  // namespace

int expand_method4() {
  OutputWindow w;
  int rc = window_open(w);
  if (rc != 0) return rc;
  bits_start();
  const BitReader r = decode(w, bits_load(), rc);
  bits_store(r);
  window_close(w);
  return rc;
}

}  // namespace arj
