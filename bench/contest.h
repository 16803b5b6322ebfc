// Runs several contenders over the same work in interleaved rounds (A B C,
// A B C, ...) so that a burst of load from other processes hits them all
// alike, and keeps each one's best and median time.
#ifndef BENCH_CONTEST_H
#define BENCH_CONTEST_H

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Contender {
  std::string name;
  // One full pass over the work; returns false when the pass failed (the
  // contest then stops and reports which contender failed).
  std::function<bool()> run;
};

struct Timing {
  std::string name;
  double best_seconds = 0;
  double median_seconds = 0;
  std::vector<double> samples;
};

// Runs `rounds` interleaved rounds. On failure returns false and names the
// contender in `error`.
bool run_contest(const std::vector<Contender> &contenders, int rounds, std::vector<Timing> &timings,
                 std::string &error);

// Speed of `ours` against `peer` (bytes per second over bytes per second),
// from the best rounds and, less sensitive to a slow spell that hit one
// contender only, as the median of the round-by-round ratios.
struct SpeedRatio {
  double from_best = 0;
  double paired_median = 0;
};
SpeedRatio speed_ratio(const Timing &ours, double our_bytes, const Timing &peer, double peer_bytes);

}  // namespace bench

#endif  // BENCH_CONTEST_H
