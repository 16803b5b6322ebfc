#include "bench/contest.h"

#include <algorithm>
#include <chrono>

namespace bench {

static double median_of(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

bool run_contest(const std::vector<Contender> &contenders, int rounds, std::vector<Timing> &timings,
                 std::string &error) {
  using Clock = std::chrono::steady_clock;
  timings.assign(contenders.size(), Timing{});
  for (std::size_t i = 0; i < contenders.size(); ++i) timings[i].name = contenders[i].name;

  for (int round = 0; round < std::max(rounds, 1); ++round) {
    for (std::size_t i = 0; i < contenders.size(); ++i) {
      const Clock::time_point start = Clock::now();
      const bool ok = contenders[i].run();
      const std::chrono::duration<double> elapsed = Clock::now() - start;
      if (!ok) {
        error = contenders[i].name + " failed";
        return false;
      }
      timings[i].samples.push_back(elapsed.count());
    }
  }
  for (Timing &timing : timings) {
    timing.best_seconds = *std::min_element(timing.samples.begin(), timing.samples.end());
    timing.median_seconds = median_of(timing.samples);
  }
  return true;
}

SpeedRatio speed_ratio(const Timing &ours, double our_bytes, const Timing &peer, double peer_bytes) {
  SpeedRatio ratio;
  ratio.from_best = (our_bytes / ours.best_seconds) / (peer_bytes / peer.best_seconds);
  std::vector<double> rounds;
  for (std::size_t i = 0; i < ours.samples.size() && i < peer.samples.size(); ++i) {
    rounds.push_back((our_bytes / ours.samples[i]) / (peer_bytes / peer.samples[i]));
  }
  ratio.paired_median = rounds.empty() ? 0 : median_of(rounds);
  return ratio;
}

}  // namespace bench
