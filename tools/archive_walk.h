// The walk every reading command makes: the archive found in the input, each
// entry handed to the command, a progress line on a terminal, and the end of
// the walk reported with the archive's name.
#ifndef TOOLS_ARCHIVE_WALK_H
#define TOOLS_ARCHIVE_WALK_H

#include <cstdint>
#include <string>

#include "arj/archive_reader.h"
#include "tools/archive_input.h"
#include "tools/progress_line.h"

namespace twpack {

// Base of the commands' visitors. A command says per entry where its bytes go
// and hears the entry's result once; an entry the walk cut short still gets
// its result (the code that ended the walk).
class EntryHandler : public arj::EntryVisitor {
 public:
  explicit EntryHandler(ProgressLine &progress) : progress_(progress) {}

  bool on_entry(const arj::EntryInfo &info, arj::EntryAction &action) final;
  void on_entry_done(const arj::EntryInfo &info, int result) final;

  // Called by run_walk once the walk has ended.
  void finish_walk(int walk_result);

  int entries() const { return entries_; }
  int failures() const { return failures_; }
  std::uint64_t original_total() const { return original_total_; }
  std::uint64_t packed_total() const { return packed_total_; }

 protected:
  // Where the entry's bytes go, or null to skip its data; a skipped entry is
  // not given to finish_entry, so the command reports it itself.
  virtual arj::EntrySink *start_entry(const arj::EntryInfo &info) = 0;
  // The result of an entry that start_entry gave a sink.
  virtual void finish_entry(const arj::EntryInfo &info, int result) = 0;

  void count_failure() { ++failures_; }
  ProgressLine &progress() { return progress_; }

 private:
  ProgressLine &progress_;
  arj::EntryInfo pending_;
  bool has_pending_ = false;
  int entries_ = 0;
  int failures_ = 0;
  std::uint64_t original_total_ = 0;
  std::uint64_t packed_total_ = 0;
};

// Takes the bytes of an entry that is only checked, and counts them for the
// progress line.
class CheckingSink : public arj::EntrySink {
 public:
  explicit CheckingSink(ProgressLine &progress) : progress_(progress) {}
  bool write(const unsigned char *, std::size_t length) override {
    progress_.add_bytes(length);
    return true;
  }

 private:
  ProgressLine &progress_;
};

struct WalkOutcome {
  int result = 0;        // 0: the end marker was reached
  int entries_seen = 0;  // good entry headers before a damaged one
};

// Walks the archive of `input` with `handler`. When the progress line is
// shown, a first quick walk over the headers gives it the totals.
WalkOutcome run_walk(const ArchiveInput &input, EntryHandler &handler, ProgressLine &progress);

// Prints the reason a walk ended early to stderr, naming the file. Returns
// true when there was one.
bool report_walk_failure(const ArchiveInput &input, const WalkOutcome &outcome);

// "twpack: PATH: MESSAGE" on stderr.
void print_error(const std::string &path, const std::string &message);

}  // namespace twpack

#endif  // TOOLS_ARCHIVE_WALK_H
