// twpack archive: makes an archive from files and folders, each file an entry
// under its plain name, written under a temporary name and moved into place
// only when complete.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "pack/compression_level.h"
#include "pack/file_archiver.h"
#include "tools/archive_walk.h"
#include "tools/command_line.h"
#include "tools/command_usage.h"
#include "tools/commands.h"
#include "tools/pack_progress.h"
#include "tools/progress_line.h"
#include "tools/staged_file.h"

namespace twpack {
namespace {

const char kArchiveHelp[] =
    "Usage: twpack archive -o OUT.arj [-l LEVEL] [--method 0|1|4] PATH...\n"
    "\n"
    "Makes the archive OUT.arj from the files named and from the files directly\n"
    "inside the folders named (a folder within a folder is refused). Each file\n"
    "becomes an entry under its own plain name; names that differ only in\n"
    "letter case are refused, as they would overwrite each other on extraction.\n"
    "An entry is stored unpacked when packing does not make it smaller.\n"
    "\n"
    "  -o, --output OUT.arj   the archive to write (replaced if it exists)\n"
    "  -l, --level LEVEL      1 (fastest) to 9 (smallest); also -1 to -9; default 5\n"
    "  -m, --method M         1 (default), 4 (faster to unpack, larger), 0 (store)\n"
    "  -h, --help             show this help\n"
    "\n"
    "Exit status: 0 when the archive was written, 1 when it was not, 2 for a\n"
    "usage error.\n";

class StagedSink : public pack::ByteSink {
 public:
  explicit StagedSink(StagedFile &file) : file_(file) {}
  bool write(const std::uint8_t *data, std::size_t length) override { return file_.write(data, length); }

 private:
  StagedFile &file_;
};

// "-5" is "--level=5".
std::vector<std::string> expand_level_shorthand(int argc, char **argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--") {
      for (; i < argc; ++i) args.push_back(argv[i]);
      break;
    }
    if (a.size() == 2 && a[0] == '-' && a[1] >= '0' && a[1] <= '9') {
      args.push_back("--level=" + a.substr(1));
    } else {
      args.push_back(a);
    }
  }
  return args;
}

bool parse_number(const std::string &text, int low, int high, int &value) {
  if (text.empty() || text.size() > 2) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  value = std::atoi(text.c_str());
  return value >= low && value <= high;
}

bool same_file(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

int cmd_archive(int argc, char **argv) {
  std::vector<std::string> expanded = expand_level_shorthand(argc, argv);
  std::vector<char *> pointers;
  for (std::string &a : expanded) pointers.push_back(a.data());
  pointers.push_back(nullptr);
  const ParsedArgs args = parse_args(static_cast<int>(expanded.size()), pointers.data(),
                                     {{'o', "output", true}, {'l', "level", true}, {'m', "method", true}});
  if (args.help) return print_help(kArchiveHelp);
  if (!args.error.empty()) return usage_error("archive", args.error);
  if (!args.has("output") || args.options.at("output").empty()) return usage_error("archive", "no output given (-o OUT.arj)");
  if (args.operands.empty()) return usage_error("archive", "no files or folders given");
  int level = pack::kDefaultLevel;
  if (args.has("level") && !parse_number(args.options.at("level"), pack::kMinLevel, pack::kMaxLevel, level)) {
    return usage_error("archive", "level must be 1 to 9, not '" + args.options.at("level") + "'");
  }
  int method = 1;
  if (args.has("method")) {
    const std::string &m = args.options.at("method");
    if (m != "0" && m != "1" && m != "4") return usage_error("archive", "method must be 0, 1 or 4, not '" + m + "'");
    method = m[0] - '0';
  }
  const std::string output = args.options.at("output");

  std::vector<pack::InputFile> files;
  std::string failed_path;
  std::string error;
  if (!pack::collect_input_files(args.operands, files, failed_path, error)) {
    print_error(failed_path, error);
    return kExitFailed;
  }
  // An old copy of the output found among the inputs is not packed into itself.
  struct stat out_st {};
  if (::stat(output.c_str(), &out_st) == 0) {
    std::vector<pack::InputFile> kept;
    for (const pack::InputFile &f : files) {
      struct stat st {};
      if (::stat(f.path.c_str(), &st) == 0 && same_file(st, out_st)) continue;
      kept.push_back(f);
    }
    files.swap(kept);
  }
  const std::string problem = pack::input_files_problem(files, failed_path);
  if (!problem.empty()) {
    print_error(failed_path, problem);
    return kExitFailed;
  }

  const std::filesystem::path out_path(output);
  const std::string folder = out_path.has_parent_path() ? out_path.parent_path().string() : ".";
  StagedFile staged;
  if (!staged.create(folder, error)) {
    print_error(output, error);
    return kExitFailed;
  }
  ProgressLine progress = ProgressLine::for_stderr();
  std::uint64_t total = 0;
  for (const pack::InputFile &f : files) total += f.size;
  progress.set_totals(static_cast<int>(files.size()), total);
  ProgressObserver observer(progress);
  StagedSink sink(staged);
  const bool written = pack::archive_files(files, sink, out_path.filename().string(), method, level, &observer,
                                           failed_path, error);
  progress.clear();
  if (!written) {
    print_error(failed_path.empty() ? output : failed_path, error);
    return kExitFailed;
  }
  if (!staged.commit(output, true, error)) {
    print_error(output, error);
    return kExitFailed;
  }
  std::printf("%s: %zu entries\n", output.c_str(), files.size());
  return kExitOk;
}

}  // namespace twpack
