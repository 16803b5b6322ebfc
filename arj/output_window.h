// The decoders' sliding window, laid out flat: a cleared history of one
// window's size, then room for new output. Matches never wrap, and a match copy
// may run a few bytes past its end. When the room is nearly used up the new
// bytes go to write_output and the last window's worth of bytes slides to the
// front. A reference to a position the entry has not written reads 0.
#ifndef ARJ_OUTPUT_WINDOW_H
#define ARJ_OUTPUT_WINDOW_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "arj/format.h"

namespace arj {

constexpr std::size_t kWindowHistory = static_cast<std::size_t>(kWindowSize);
constexpr std::size_t kWindowRoom = 6 * kWindowHistory;
constexpr std::size_t kWindowSlack = kMaxMatch + 16;
constexpr std::size_t kWindowBytes = kWindowHistory + kWindowRoom + kWindowSlack;
// Largest distance back (1-based) that stays inside the window.
constexpr std::uint32_t kMaxBackReference = static_cast<std::uint32_t>(kWindowSize);

struct OutputWindow {
  unsigned char *base;
  std::size_t pos;      // next byte to store
  std::size_t flushed;  // bytes before this have gone to write_output
};

// Allocates and clears the history; returns 0 or 110.
int window_open(OutputWindow &w);
void window_close(OutputWindow &w);
// Writes out what is new and slides the history to the front. Returns 0 or 105.
int window_flush(OutputWindow &w);
// Flushes when the room is nearly used up; called after every literal or match.
inline int window_maybe_flush(OutputWindow &w) {
  return w.pos >= kWindowHistory + kWindowRoom ? window_flush(w) : 0;
}
// Writes out whatever has not been written yet. Returns 0 or 105.
int window_finish(OutputWindow &w);

// Copies `length` bytes from `distance` bytes back (distance 1 to the window
// size). Overlapping copies repeat the bytes just written, as the format needs.
inline void copy_match(unsigned char *out, std::uint32_t distance, std::uint32_t length) {
  const unsigned char *src = out - distance;
  unsigned char *const end = out + length;
  if (distance >= 16) {
    // Whole 16-byte steps; the last may write up to 15 bytes past the end,
    // into room that is not yet output.
    do {
      std::memcpy(out, src, 16);
      out += 16;
      src += 16;
    } while (out < end);
  } else if (distance >= 8) {
    do {
      std::memcpy(out, src, 8);
      out += 8;
      src += 8;
    } while (out < end);
  } else if (distance == 1) {
    std::memset(out, *src, length);
  } else {
    while (out < end) *out++ = *src++;
  }
}

}  // namespace arj

#endif  // ARJ_OUTPUT_WINDOW_H
