// twpack extract: writes every entry into a folder. Each entry goes to a
// temporary file first and gets its own name only after its CRC passed, so a
// failed entry leaves nothing behind, and no existing file is overwritten
// unless the user says so.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

#include "arj/result_code.h"
#include "tools/archive_walk.h"
#include "tools/command_line.h"
#include "tools/command_usage.h"
#include "tools/commands.h"
#include "tools/entry_format.h"
#include "tools/entry_path.h"
#include "tools/staged_file.h"

namespace twpack {
namespace {

const char kExtractHelp[] =
    "Usage: twpack extract [-C DIR] [-f] ARCHIVE\n"
    "\n"
    "Writes every entry of ARCHIVE (an archive file or an installer executable)\n"
    "into DIR. An entry is written under its own name only after its CRC-32\n"
    "passed; a failed entry leaves no file. Names that would land outside DIR\n"
    "(\"..\" components, a drive prefix, a leading '/' or '\\') are refused; both\n"
    "'/' and '\\' separate folders.\n"
    "\n"
    "  -C, --directory DIR   extract into DIR, created if missing (default: .)\n"
    "  -f, --force           overwrite existing files\n"
    "  -h, --help            show this help\n"
    "\n"
    "Exit status: 0 when every entry was extracted, 1 when one failed or was\n"
    "refused or the archive is damaged, 2 for a usage error.\n";

class FileSink : public arj::EntrySink {
 public:
  FileSink(StagedFile &file, ProgressLine &progress) : file_(file), progress_(progress) {}
  bool write(const unsigned char *data, std::size_t length) override {
    progress_.add_bytes(length);
    return file_.write(data, length);
  }

 private:
  StagedFile &file_;
  ProgressLine &progress_;
};

class ExtractHandler : public EntryHandler {
 public:
  ExtractHandler(ProgressLine &progress, std::string archive_path, std::filesystem::path folder, bool force)
      : EntryHandler(progress),
        archive_path_(std::move(archive_path)),
        folder_(std::move(folder)),
        force_(force),
        sink_(staged_, progress) {}

 protected:
  arj::EntrySink *start_entry(const arj::EntryInfo &info) override {
    EntryPath entry_path;
    std::string reason;
    if (!make_entry_path(info.name, entry_path, reason)) {
      refuse(info, "refused, it would land outside " + folder_.string() + ": " + reason);
      return nullptr;
    }
    std::filesystem::path target_folder = folder_;
    for (const std::string &part : entry_path.folders) target_folder /= part;
    target_ = target_folder / entry_path.file_name;

    struct stat existing {};
    if (::lstat(target_.c_str(), &existing) == 0) {
      if (S_ISDIR(existing.st_mode)) {
        refuse(info, "a folder of that name exists at " + target_.string());
        return nullptr;
      }
      if (!force_) {
        refuse(info, target_.string() + " exists (use -f to overwrite)");
        return nullptr;
      }
    }
    std::error_code ec;
    std::filesystem::create_directories(target_folder, ec);
    if (ec) {
      refuse(info, "cannot create folder " + target_folder.string() + ": " + ec.message());
      return nullptr;
    }
    std::string error;
    if (!staged_.create(target_folder.string(), error)) {
      refuse(info, error);
      return nullptr;
    }
    return &sink_;
  }

  void finish_entry(const arj::EntryInfo &info, int result) override {
    if (result != arj::kOk) {
      // The bytes of a failed entry are dropped: they are known to be wrong.
      staged_.discard();
      report_failure(info, result_description(result));
      return;
    }
    std::string error;
    if (!staged_.commit(target_.string(), force_, error)) {
      count_failure();
      report_failure(info, target_.string() + ": " + error);
      return;
    }
    progress().clear();
    std::printf("OK      %s\n", printable_name(target_.string()).c_str());
  }

 private:
  // An entry that is not extracted at all.
  void refuse(const arj::EntryInfo &info, const std::string &problem) {
    count_failure();
    report_failure(info, problem);
  }

  void report_failure(const arj::EntryInfo &info, const std::string &problem) {
    progress().clear();
    const std::string name = printable_name(info.name);
    std::printf("FAILED  %s\n", name.c_str());
    print_error(archive_path_, "entry " + std::to_string(info.number) + " \"" + name + "\": " + printable_name(problem));
  }

  std::string archive_path_;
  std::filesystem::path folder_;
  bool force_;
  StagedFile staged_;
  FileSink sink_;
  std::filesystem::path target_;
};

}  // namespace

int cmd_extract(int argc, char **argv) {
  const ParsedArgs args = parse_args(argc, argv, {{'C', "directory", true}, {'f', "force", false}});
  if (args.help) return print_help(kExtractHelp);
  if (!args.error.empty()) return usage_error("extract", args.error);
  if (args.operands.size() != 1) {
    return usage_error("extract", args.operands.empty() ? "no archive given" : "give one archive");
  }
  std::string folder = ".";
  if (args.has("directory")) {
    folder = args.options.at("directory");
    if (folder.empty()) return usage_error("extract", "the folder given with -C is empty");
  }

  ArchiveInput input;
  std::string error;
  if (!open_archive_input(args.operands[0], input, error)) {
    print_error(args.operands[0], error);
    return kExitFailed;
  }

  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec || !std::filesystem::is_directory(folder, ec)) {
    print_error(folder, ec ? "cannot create the folder: " + ec.message() : "is not a folder");
    return kExitFailed;
  }

  ProgressLine progress = ProgressLine::for_stderr();
  ExtractHandler handler(progress, input.path, folder, args.has("force"));
  const WalkOutcome outcome = run_walk(input, handler, progress);

  const int entries = handler.entries();
  const int extracted = entries - handler.failures();
  std::printf("%d of %d %s extracted into %s\n", extracted, entries, entries == 1 ? "entry" : "entries",
              folder.c_str());
  std::fflush(stdout);

  const bool walk_failed = report_walk_failure(input, outcome);
  if (handler.failures() > 0) {
    print_error(input.path, std::to_string(handler.failures()) + " of " + std::to_string(entries) +
                                (entries == 1 ? " entry" : " entries") + " not extracted");
  }
  return walk_failed || handler.failures() > 0 ? kExitFailed : kExitOk;
}

}  // namespace twpack
