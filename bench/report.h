// The benchmark's findings: printed as they come and kept for the results
// file, so that the file holds exactly what the run printed.
#ifndef BENCH_REPORT_H
#define BENCH_REPORT_H

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

class Report {
 public:
  void line(const std::string &text);
  void heading(const std::string &text);
  // Writes every line so far to `path`; false when it cannot.
  bool save(const std::string &path) const;

 private:
  std::vector<std::string> lines_;
};

std::string fixed(double value, int decimals);
std::string megabytes_per_second(std::uint64_t bytes, double seconds);
// "PASS" or "MISS" against a target, for a ratio that should be at most or
// at least the target.
std::string verdict_at_most(double ratio, double target);
std::string verdict_at_least(double ratio, double target);

}  // namespace bench

#endif  // BENCH_REPORT_H
