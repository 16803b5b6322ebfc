#include "arj/lzh_decoder.h"

#include <cstring>

#include "arj/bit_input.h"
#include "arj/decode_table.h"
#include "arj/engine_state.h"
#include "arj/engine_streams.h"
#include "arj/format.h"
#include "arj/output_window.h"

namespace arj {
namespace {

constexpr int kZeroRunAfter = 3;  // the code-length code's zero run follows its third length

// Reads the lengths of the code-length code (with its zero-run field) or of the
// distance code into short_lengths, and builds short_table.
int read_short_lengths(BitReader &r, int n, bool has_zero_run) {
  EngineState &g = engine();
  refill(r);
  const int count = static_cast<int>(r.take(5));
  if (count == 0) {
    const std::uint32_t symbol = r.take(5);
    std::memset(g.short_lengths, 0, sizeof g.short_lengths);
    fill_single_symbol(symbol, n, kShortTableBits, g.short_table);
    return 0;
  }
  if (count > n) return 102;
  int i = 0;
  while (i < count) {
    refill(r);
    int v = static_cast<int>(r.peek(3));
    if (v == 7) {
      // A run of 1 bits after the field, closed by a 0 bit, adds to the length.
      std::uint64_t rest = r.buf << 3;
      while (v < 20 && (rest >> 63) != 0) {
        ++v;
        rest <<= 1;
      }
      if (v > kMaxCodeLength) return 102;
      r.consume(v - 3);
    } else {
      r.consume(3);
    }
    g.short_lengths[i++] = static_cast<std::uint8_t>(v);
    if (has_zero_run && i == kZeroRunAfter) {
      int zeros = static_cast<int>(r.take(2));
      if (i + zeros > n) return 102;
      while (zeros-- > 0) g.short_lengths[i++] = 0;
    }
  }
  for (; i < n; ++i) g.short_lengths[i] = 0;
  return build_decode_table(n, g.short_lengths, kShortTableBits, g.short_table, kShortTableSize);
}

int read_lit_len_lengths(BitReader &r) {
  EngineState &g = engine();
  refill(r);
  const int count = static_cast<int>(r.take(9));
  if (count == 0) {
    const std::uint32_t symbol = r.take(9);
    std::memset(g.lit_len_lengths, 0, sizeof g.lit_len_lengths);
    fill_single_symbol(symbol, kLitLenSymbols, kLitLenTableBits, g.lit_len_table);
    return 0;
  }
  if (count > kLitLenSymbols) return 102;
  int i = 0;
  while (i < count) {
    refill(r);
    const std::uint32_t e = table_lookup(g.short_table, kShortTableBits, r.buf);
    const std::uint32_t c = table_symbol(e);
    if (c >= static_cast<std::uint32_t>(kCodeLenSymbols)) return 102;
    r.consume(table_length(e));
    if (c <= 2) {
      int zeros = 1;
      if (c == 1) zeros = static_cast<int>(r.take(4)) + 3;
      else if (c == 2) zeros = static_cast<int>(r.take(9)) + 20;
      if (i + zeros > kLitLenSymbols) return 102;
      std::memset(g.lit_len_lengths + i, 0, static_cast<std::size_t>(zeros));
      i += zeros;
    } else {
      g.lit_len_lengths[i++] = static_cast<std::uint8_t>(c - 2);
    }
  }
  std::memset(g.lit_len_lengths + i, 0, static_cast<std::size_t>(kLitLenSymbols - i));
  return build_decode_table(kLitLenSymbols, g.lit_len_lengths, kLitLenTableBits, g.lit_len_table,
                            kLitLenTableSize);
}

// Distance table entries are rewritten once per block so that a match's
// distance costs one lookup: the base distance in bits 16-31, the count of
// extra bits in bits 8-11, and code length plus extra bits in bits 0-4. Bit 7
// stays clear (it marks sub-table links).
constexpr std::uint32_t kDistanceUnusable = 0x1000u;

// Distance symbol s stands for 2^(s-1) plus s - 1 further bits (0 for s = 0).
std::uint32_t distance_entry(std::uint32_t entry) {
  const std::uint32_t s = table_symbol(entry);
  const std::uint32_t length = static_cast<std::uint32_t>(table_length(entry));
  if (s >= static_cast<std::uint32_t>(kDistanceSymbols)) return kDistanceUnusable | length;
  const std::uint32_t base = s == 0 ? 0 : 1u << (s - 1);
  const std::uint32_t extra = s == 0 ? 0 : s - 1;
  return (base << 16) | (extra << 8) | (length + extra);
}

void make_distance_entries(std::uint32_t *table) {
  constexpr std::uint32_t kPrimary = 1u << kShortTableBits;
  constexpr std::uint32_t kSub = 1u << (16 - kShortTableBits);
  for (std::uint32_t i = 0; i < kPrimary; ++i) {
    const std::uint32_t e = table[i];
    if ((e & kLinkFlag) == 0) {
      table[i] = distance_entry(e);
      continue;
    }
    std::uint32_t *sub = table + (e >> 16);
    for (std::uint32_t j = 0; j < kSub; ++j) sub[j] = distance_entry(sub[j]);
  }
}

// Reads a match's distance code and its extra bits (held by the caller) and
// gives the distance less one. False for a code the stream cannot use, and for
// a distance that reaches before the window's start: both are stream damage.
inline bool take_distance(BitReader &r, const std::uint32_t *short_table, std::uint32_t &distance) {
  const std::uint32_t d = table_lookup(short_table, kShortTableBits, r.buf);
  if (d & kDistanceUnusable) return false;
  // The code and its extra bits are taken in one step; shifting by one first
  // keeps a width of 0 defined.
  const int total = static_cast<int>(d & 0x1Fu);
  const std::uint32_t extra_mask = (1u << ((d >> 8) & 0xFu)) - 1u;
  const std::uint32_t code_and_extra = static_cast<std::uint32_t>((r.buf >> 1) >> (63 - total));
  distance = (d >> 16) + (code_and_extra & extra_mask);
  r.consume(total);
  return distance < kMaxBackReference;
}

// Takes and returns the reader by value so that the caller's copy can stay in
// registers through its loop.
BitReader read_block_header(BitReader r, int &rc) {
  refill(r);
  const std::uint32_t size = r.take(16);
  // The counter is 16 bits wide and counts down after its test: 0 means 65536.
  engine().block_symbols_left = size == 0 ? 0x10000u : size;
  rc = read_short_lengths(r, kCodeLenSymbols, true);
  if (rc == 0) rc = read_lit_len_lengths(r);
  if (rc == 0) rc = read_short_lengths(r, kDistanceSymbols, false);
  if (rc == 0) make_distance_entries(engine().short_table);
  return r;
}

BitReader decode(OutputWindow &w, BitReader r, int &result) {
  EngineState &g = engine();
  const std::uint32_t *lit_len_table = g.lit_len_table;
  const std::uint32_t *short_table = g.short_table;
  long long remaining = g.original_size;
  std::uint32_t symbols_left = 0;
  unsigned char *out = w.base + w.pos;
  unsigned char *const flush_at = w.base + kWindowHistory + kWindowRoom;
  int rc = 0;
  while (remaining > 0) {
    if (symbols_left == 0) {
      r = read_block_header(r, rc);
      if (rc != 0) {
        result = arj_fail(rc);
        return r;
      }
      symbols_left = g.block_symbols_left;
    }
    // One symbol with its distance code and extra bits takes at most 16 + 16 + 15 bits.
    constexpr int kSymbolBits = 47;
    unsigned char *const start = out;
    unsigned char *const stop = remaining < flush_at - out ? out + remaining : flush_at;
    // Runs until the block ends, the entry is complete or the window needs
    // writing out.
    while (out < stop && symbols_left != 0) {
      // Fast loop: as many symbols as can neither reach `stop` (each writes
      // at most kMaxMatch bytes) nor bring the bit input within 8 bytes of the
      // end of what is buffered (each takes under 6 bytes), so a symbol costs
      // one counter test and no bounds test. The next symbol's table entry is
      // fetched before the current one's bytes are stored, so that the lookup
      // overlaps the copy.
      const std::size_t by_output = static_cast<std::size_t>(stop - out) / kMaxMatch;
      const std::ptrdiff_t input_left = r.fast_end - r.next;
      const std::size_t by_input = input_left > 16 ? static_cast<std::size_t>(input_left - 16) / 6 : 0;
      std::size_t n = by_output < by_input ? by_output : by_input;
      if (n > symbols_left) n = symbols_left;
      if (n > 0) {
        symbols_left -= static_cast<std::uint32_t>(n);
        refill_unchecked(r);
        std::uint32_t e = table_lookup(lit_len_table, kLitLenTableBits, r.buf);
        do {
          r.consume(table_length(e));
          const std::uint32_t symbol = table_symbol(e);
          if (symbol < 256) {
            *out++ = static_cast<unsigned char>(symbol);
            refill_unchecked(r);
            e = table_lookup(lit_len_table, kLitLenTableBits, r.buf);
            continue;
          }
          if (symbol >= static_cast<std::uint32_t>(kLitLenSymbols)) {
            result = arj_fail(102);
            return r;
          }
          const std::uint32_t length = symbol - 253;
          std::uint32_t distance;
          if (!take_distance(r, short_table, distance)) {
            result = arj_fail(102);
            return r;
          }
          refill_unchecked(r);
          e = table_lookup(lit_len_table, kLitLenTableBits, r.buf);
          copy_match(out, distance + 1, length);
          out += length;
        } while (--n != 0);
        continue;
      }

      // Near the end of the buffered input or of the room: one symbol with
      // every test.
      --symbols_left;
      if (r.held < kSymbolBits) refill(r);
      const std::uint32_t e = table_lookup(lit_len_table, kLitLenTableBits, r.buf);
      r.consume(table_length(e));
      const std::uint32_t symbol = table_symbol(e);
      if (symbol < 256) {
        *out++ = static_cast<unsigned char>(symbol);
        continue;
      }
      if (symbol >= static_cast<std::uint32_t>(kLitLenSymbols)) {
        result = arj_fail(102);
        return r;
      }
      const std::uint32_t length = symbol - 253;
      std::uint32_t distance;
      if (!take_distance(r, short_table, distance)) {
        result = arj_fail(102);
        return r;
      }
      copy_match(out, distance + 1, length);
      out += length;
    }
    remaining -= out - start;
    if (out >= flush_at) {
      w.pos = static_cast<std::size_t>(out - w.base);
      rc = window_flush(w);
      if (rc != 0) {
        result = rc;
        return r;
      }
      out = w.base + w.pos;
    }
  }
  w.pos = static_cast<std::size_t>(out - w.base);
  g.block_symbols_left = symbols_left;
  result = window_finish(w);
  return r;
}

}  // namespace

int expand_lzh() {
  OutputWindow w;
  int rc = window_open(w);
  if (rc != 0) return rc;
  engine().block_symbols_left = 0;
  bits_start();
  const BitReader r = decode(w, bits_load(), rc);
  bits_store(r);
  window_close(w);
  return rc;
}

}  // namespace arj
