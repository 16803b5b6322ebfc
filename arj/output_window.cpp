#include "arj/output_window.h"

#include <cstdlib>

#include "arj/engine_streams.h"
#include "arj/output_sink.h"

namespace arj {

int window_open(OutputWindow &w) {
  w.base = static_cast<unsigned char *>(alloc_or_fail(kWindowBytes));
  if (!w.base) return 110;
  std::memset(w.base, 0, kWindowHistory);
  w.pos = kWindowHistory;
  w.flushed = kWindowHistory;
  return 0;
}

void window_close(OutputWindow &w) {
  std::free(w.base);
  w.base = nullptr;
}

int window_flush(OutputWindow &w) {
  const int rc = window_finish(w);
  if (rc != 0) return rc;
  std::memmove(w.base, w.base + w.pos - kWindowHistory, kWindowHistory);
  w.pos = kWindowHistory;
  w.flushed = kWindowHistory;
  return 0;
}

int window_finish(OutputWindow &w) {
  if (w.pos <= w.flushed) return 0;
  const int rc = write_output(w.base + w.flushed, w.pos - w.flushed);
  w.flushed = w.pos;
  return rc;
}

}  // namespace arj
