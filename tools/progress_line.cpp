#include "tools/progress_line.h"

#include <unistd.h>

namespace twpack {
namespace {

// Redrawing more often than this only costs time; the eye does not follow it.
constexpr std::chrono::milliseconds kRedrawInterval(100);
constexpr std::size_t kNameWidth = 40;

}  // namespace

std::string human_bytes(std::uint64_t bytes) {
  static const char *const units[] = {"B", "KiB", "MiB", "GiB", "TiB"};
  if (bytes < 1024) return std::to_string(bytes) + " B";
  double value = static_cast<double>(bytes);
  int unit = 0;
  while (value >= 1024.0 && unit < 4) {
    value /= 1024.0;
    ++unit;
  }
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, units[unit]);
  return text;
}

ProgressLine::ProgressLine(std::FILE *out, bool enabled) : out_(out), enabled_(enabled && out != nullptr) {}

ProgressLine ProgressLine::for_stderr() { return ProgressLine(stderr, ::isatty(STDERR_FILENO) == 1); }

void ProgressLine::set_totals(int entries, std::uint64_t bytes) {
  total_entries_ = entries;
  total_bytes_ = bytes;
}

void ProgressLine::begin_entry(int number, const std::string &name) {
  entry_number_ = number;
  entry_name_ = name;
  if (!enabled_) return;
  draw();
}

void ProgressLine::add_bytes(std::uint64_t count) {
  bytes_done_ += count;
  if (!enabled_) return;
  if (std::chrono::steady_clock::now() - last_draw_ >= kRedrawInterval) draw();
}

void ProgressLine::clear() {
  if (!enabled_ || !drawn_) return;
  std::fputs("\r\x1b[K", out_);
  std::fflush(out_);
  drawn_ = false;
}

void ProgressLine::draw() {
  std::string line = "entry " + std::to_string(entry_number_);
  if (total_entries_ > 0) line += " of " + std::to_string(total_entries_);
  std::string name = entry_name_;
  if (name.size() > kNameWidth) name = "..." + name.substr(name.size() - (kNameWidth - 3));
  line += "  " + name + "  " + human_bytes(bytes_done_);
  if (total_bytes_ > 0) line += " of " + human_bytes(total_bytes_);
  std::fprintf(out_, "\r%s\x1b[K", line.c_str());
  std::fflush(out_);
  drawn_ = true;
  last_draw_ = std::chrono::steady_clock::now();
}

}  // namespace twpack
