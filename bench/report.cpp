#include "bench/report.h"

#include <cstdio>
#include <fstream>

namespace bench {

void Report::line(const std::string &text) {
  std::printf("%s\n", text.c_str());
  std::fflush(stdout);
  lines_.push_back(text);
}

void Report::heading(const std::string &text) {
  line("");
  line(text);
}

bool Report::save(const std::string &path) const {
  std::ofstream out(path, std::ios::trunc);
  for (const std::string &text : lines_) out << text << '\n';
  out.flush();
  return static_cast<bool>(out);
}

std::string fixed(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

std::string megabytes_per_second(std::uint64_t bytes, double seconds) {
  if (seconds <= 0) return "n/a";
  return fixed(static_cast<double>(bytes) / seconds / 1e6, 1) + " MB/s";
}

std::string verdict_at_most(double ratio, double target) { return ratio <= target ? "PASS" : "MISS"; }

std::string verdict_at_least(double ratio, double target) { return ratio >= target ? "PASS" : "MISS"; }

}  // namespace bench
