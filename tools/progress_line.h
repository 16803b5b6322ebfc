// One line on the terminal that shows how far a long command has come:
// the entry being worked on, out of how many, and the bytes done. It is
// redrawn in place and only when the stream is a terminal; redirected
// output stays free of it.
#ifndef TOOLS_PROGRESS_LINE_H
#define TOOLS_PROGRESS_LINE_H

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

namespace twpack {

class ProgressLine {
 public:
  // Draws on `out` only when `enabled`.
  ProgressLine(std::FILE *out, bool enabled);
  ~ProgressLine() { clear(); }
  ProgressLine(const ProgressLine &) = delete;
  ProgressLine &operator=(const ProgressLine &) = delete;

  // A progress line on stderr, shown when stderr is a terminal.
  static ProgressLine for_stderr();

  bool enabled() const { return enabled_; }

  // Totals from a first walk over the headers; 0 when unknown.
  void set_totals(int entries, std::uint64_t bytes);
  void begin_entry(int number, const std::string &name);
  void add_bytes(std::uint64_t count);
  // Erases the line, so that other output starts on a clean line.
  void clear();

 private:
  void draw();

  std::FILE *out_;
  bool enabled_;
  bool drawn_ = false;
  int total_entries_ = 0;
  std::uint64_t total_bytes_ = 0;
  int entry_number_ = 0;
  std::string entry_name_;
  std::uint64_t bytes_done_ = 0;
  std::chrono::steady_clock::time_point last_draw_{};
};

// "512 B", "1.5 KiB", "12.3 MiB", "1.1 GiB".
std::string human_bytes(std::uint64_t bytes);

}  // namespace twpack

#endif  // TOOLS_PROGRESS_LINE_H
