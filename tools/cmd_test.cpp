// twpack test: unpacks every entry to nowhere and checks its CRC.
#include <cstdio>

#include "arj/result_code.h"
#include "tools/archive_walk.h"
#include "tools/command_line.h"
#include "tools/command_usage.h"
#include "tools/commands.h"
#include "tools/entry_format.h"

namespace twpack {
namespace {

const char kTestHelp[] =
    "Usage: twpack test ARCHIVE\n"
    "\n"
    "Unpacks every entry of ARCHIVE (an archive file or an installer executable)\n"
    "without writing it anywhere and checks its CRC-32. Prints each entry's\n"
    "name with OK or the reason it failed; the other entries are tested anyway.\n"
    "\n"
    "  -h, --help    show this help\n"
    "\n"
    "Exit status: 0 when every entry passed, 1 when one failed or the archive is\n"
    "damaged, 2 for a usage error.\n";

class TestHandler : public EntryHandler {
 public:
  explicit TestHandler(ProgressLine &progress) : EntryHandler(progress), sink_(progress) {}

 protected:
  arj::EntrySink *start_entry(const arj::EntryInfo &) override { return &sink_; }
  void finish_entry(const arj::EntryInfo &info, int result) override {
    progress().clear();
    if (result == arj::kOk) {
      std::printf("OK      %s\n", printable_name(info.name).c_str());
    } else {
      std::printf("FAILED  %s: %s\n", printable_name(info.name).c_str(), result_description(result).c_str());
    }
  }

 private:
  CheckingSink sink_;
};

}  // namespace

int cmd_test(int argc, char **argv) {
  const ParsedArgs args = parse_args(argc, argv, {});
  if (args.help) return print_help(kTestHelp);
  if (!args.error.empty()) return usage_error("test", args.error);
  if (args.operands.size() != 1) return usage_error("test", args.operands.empty() ? "no archive given" : "give one archive");

  ArchiveInput input;
  std::string error;
  if (!open_archive_input(args.operands[0], input, error)) {
    print_error(args.operands[0], error);
    return kExitFailed;
  }

  ProgressLine progress = ProgressLine::for_stderr();
  TestHandler handler(progress);
  const WalkOutcome outcome = run_walk(input, handler, progress);

  const int entries = handler.entries();
  std::printf("%d %s tested, %d failed\n", entries, entries == 1 ? "entry" : "entries", handler.failures());
  std::fflush(stdout);

  const bool walk_failed = report_walk_failure(input, outcome);
  if (handler.failures() > 0) {
    print_error(input.path, std::to_string(handler.failures()) + " of " + std::to_string(entries) +
                                (entries == 1 ? " entry" : " entries") + " failed the test");
  }
  return walk_failed || handler.failures() > 0 ? kExitFailed : kExitOk;
}

}  // namespace twpack
