#include "tools/archive_walk.h"

#include <cstdio>

#include "arj/result_code.h"
#include "tools/entry_format.h"

namespace twpack {
namespace {

// The first, headers-only walk that sizes the progress line.
class TotalsVisitor : public arj::EntryVisitor {
 public:
  bool on_entry(const arj::EntryInfo &info, arj::EntryAction &) override {
    ++entries;
    bytes += info.original_size;
    return true;
  }
  void on_entry_done(const arj::EntryInfo &, int) override {}

  int entries = 0;
  std::uint64_t bytes = 0;
};

}  // namespace

bool EntryHandler::on_entry(const arj::EntryInfo &info, arj::EntryAction &action) {
  ++entries_;
  original_total_ += info.original_size;
  packed_total_ += info.packed_size;
  progress_.begin_entry(info.number, printable_name(info.name));
  action.sink = start_entry(info);
  if (action.sink != nullptr) {
    pending_ = info;
    has_pending_ = true;
  }
  return true;
}

void EntryHandler::on_entry_done(const arj::EntryInfo &info, int result) {
  has_pending_ = false;
  if (result != arj::kOk) ++failures_;
  finish_entry(info, result);
}

void EntryHandler::finish_walk(int walk_result) {
  if (!has_pending_) return;
  has_pending_ = false;
  const int result = walk_result != arj::kOk ? walk_result : arj::kArchiveTruncated;
  ++failures_;
  finish_entry(pending_, result);
}

WalkOutcome run_walk(const ArchiveInput &input, EntryHandler &handler, ProgressLine &progress) {
  if (progress.enabled()) {
    TotalsVisitor totals;
    arj::walk_archive(input.path.c_str(), input.start_offset, totals, nullptr);
    progress.set_totals(totals.entries, totals.bytes);
  }
  WalkOutcome outcome;
  outcome.result = arj::walk_archive(input.path.c_str(), input.start_offset, handler, &outcome.entries_seen);
  handler.finish_walk(outcome.result);
  progress.clear();
  return outcome;
}

bool report_walk_failure(const ArchiveInput &input, const WalkOutcome &outcome) {
  if (outcome.result == arj::kOk) return false;
  std::string message = result_description(outcome.result);
  if (outcome.entries_seen > 0) {
    message += ", after " + std::to_string(outcome.entries_seen) + " good " +
               (outcome.entries_seen == 1 ? "entry" : "entries");
  }
  print_error(input.path, message);
  return true;
}

void print_error(const std::string &path, const std::string &message) {
  std::fflush(stdout);
  std::fprintf(stderr, "twpack: %s: %s\n", path.c_str(), message.c_str());
}

}  // namespace twpack
