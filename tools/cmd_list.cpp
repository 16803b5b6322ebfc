// twpack list: one line per entry with its fields and, unless asked not to,
// the result of unpacking it to nowhere, then a totals line.
#include <cinttypes>
#include <cstdio>

#include "arj/result_code.h"
#include "tools/archive_walk.h"
#include "tools/command_line.h"
#include "tools/command_usage.h"
#include "tools/commands.h"
#include "tools/entry_format.h"

namespace twpack {
namespace {

const char kListHelp[] =
    "Usage: twpack list [--quick] ARCHIVE\n"
    "\n"
    "Lists the entries of ARCHIVE, an archive file or an installer executable:\n"
    "original and packed size, ratio, method, time stamp, CRC-32, result and name.\n"
    "Each entry is unpacked to nowhere and its CRC checked, so the result column\n"
    "says whether it would extract.\n"
    "\n"
    "  -q, --quick   read the headers only; results show as \"-\" (not checked)\n"
    "  -h, --help    show this help\n"
    "\n"
    "Exit status: 0 when every entry passed, 1 when one failed or the archive is\n"
    "damaged, 2 for a usage error.\n";

class ListHandler : public EntryHandler {
 public:
  ListHandler(ProgressLine &progress, bool check) : EntryHandler(progress), check_(check), sink_(progress) {}

 protected:
  arj::EntrySink *start_entry(const arj::EntryInfo &info) override {
    if (check_) return &sink_;
    print_row(info, "-", "");
    return nullptr;
  }
  void finish_entry(const arj::EntryInfo &info, int result) override {
    if (result == arj::kOk) {
      print_row(info, "OK", "");
    } else {
      print_row(info, "FAILED", ": " + result_description(result));
    }
  }

 private:
  void print_row(const arj::EntryInfo &info, const char *result, const std::string &detail) {
    progress().clear();
    std::printf("%12" PRIu32 " %12" PRIu32 " %6s  %-6s  %s  %08" PRIx32 "  %-6s  %s%s\n", info.original_size,
                info.packed_size, ratio_text(info.packed_size, info.original_size).c_str(),
                method_text(info.pack_method).c_str(), dos_time_text(info.modified_time).c_str(),
                info.data_crc, result, printable_name(info.name).c_str(), detail.c_str());
  }

  bool check_;
  CheckingSink sink_;
};

}  // namespace

int cmd_list(int argc, char **argv) {
  const ParsedArgs args = parse_args(argc, argv, {{'q', "quick", false}});
  if (args.help) return print_help(kListHelp);
  if (!args.error.empty()) return usage_error("list", args.error);
  if (args.operands.size() != 1) return usage_error("list", args.operands.empty() ? "no archive given" : "give one archive");

  ArchiveInput input;
  std::string error;
  if (!open_archive_input(args.operands[0], input, error)) {
    print_error(args.operands[0], error);
    return kExitFailed;
  }

  std::printf("Archive: %s\n", input.path.c_str());
  if (input.installer) {
    std::printf("Installer: archive at offset %" PRIu32 ", %" PRIu32 " bytes, run mode %s\n",
                input.descriptor.archive_offset, input.descriptor.archive_size,
                run_mode_text(input.descriptor.run_mode).c_str());
  }
  std::printf("%12s %12s %6s  %-6s  %-19s  %-8s  %-6s  %s\n", "Original", "Packed", "Ratio", "Method", "Modified",
              "CRC-32", "Result", "Name");

  ProgressLine progress = ProgressLine::for_stderr();
  ListHandler handler(progress, !args.has("quick"));
  const WalkOutcome outcome = run_walk(input, handler, progress);

  const int entries = handler.entries();
  std::printf("%12" PRIu64 " %12" PRIu64 " %6s  %d %s", handler.original_total(), handler.packed_total(),
              ratio_text(handler.packed_total(), handler.original_total()).c_str(), entries,
              entries == 1 ? "entry" : "entries");
  if (args.has("quick")) {
    std::printf(", not checked\n");
  } else {
    std::printf(", %d failed\n", handler.failures());
  }
  std::fflush(stdout);

  const bool walk_failed = report_walk_failure(input, outcome);
  if (handler.failures() > 0) {
    print_error(input.path, std::to_string(handler.failures()) + " of " + std::to_string(entries) +
                                (entries == 1 ? " entry" : " entries") + " failed");
  }
  return walk_failed || handler.failures() > 0 ? kExitFailed : kExitOk;
}

}  // namespace twpack
