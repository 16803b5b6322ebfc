// twpack build: makes an installer from a stub and a payload (a folder, or an
// archive already made): the stub, the archive after it, the descriptor in
// the stub's MS-DOS header. Everything the stub could not install is refused
// before anything is written.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "pack/archive_index.h"
#include "pack/file_archiver.h"
#include "pack/installer_builder.h"
#include "tools/archive_walk.h"
#include "tools/command_line.h"
#include "tools/command_usage.h"
#include "tools/commands.h"
#include "tools/pack_progress.h"
#include "tools/progress_line.h"
#include "tools/staged_file.h"

namespace twpack {
namespace {

const char kBuildHelp[] =
    "Usage: twpack build --stub STUB.exe [--mode standard|silent] -o SETUP.exe DIR|ARCHIVE.arj\n"
    "\n"
    "Makes the installer SETUP.exe: the stub, then the payload archive, with the\n"
    "archive's place and the run mode written into the stub's header. The payload\n"
    "is an archive, or a folder whose files are packed into one. Every entry must\n"
    "be a DOS 8.3 file name, unique when letter case is ignored, and not one of\n"
    "the installer's own files (TWDATA.ARJ, RPARA.DAT, NEWFILE.TMP); a payload\n"
    "without inst.exe is built with a warning.\n"
    "\n"
    "  --stub STUB.exe        the installer stub as linked (descriptor still empty)\n"
    "  --mode standard|silent standard shows progress (default); silent shows\n"
    "                         nothing and waits for the setup program\n"
    "  -o, --output SETUP.exe the installer to write (replaced if it exists)\n"
    "  -h, --help             show this help\n"
    "\n"
    "Exit status: 0 when the installer was written, 1 when it was not, 2 for a\n"
    "usage error.\n";

void print_warning(const std::string &path, const std::string &message) {
  std::fflush(stdout);
  std::fprintf(stderr, "twpack: %s: warning: %s\n", path.c_str(), message.c_str());
}

// Prints the report; true when nothing refuses the build.
bool report_payload(const std::string &path, const pack::PayloadReport &report) {
  for (const std::string &e : report.errors) print_error(path, e);
  for (const std::string &w : report.warnings) print_warning(path, w);
  return report.errors.empty();
}

bool payload_from_folder(const std::string &folder, const std::string &output, std::vector<std::uint8_t> &archive) {
  std::vector<pack::InputFile> files;
  std::string failed_path;
  std::string error;
  if (!pack::collect_input_files({folder}, files, failed_path, error)) {
    print_error(failed_path, error);
    return false;
  }
  // An earlier installer written into the payload folder is not packed into the next.
  struct stat out_st {};
  if (::stat(output.c_str(), &out_st) == 0) {
    std::vector<pack::InputFile> kept;
    for (const pack::InputFile &f : files) {
      struct stat st {};
      if (::stat(f.path.c_str(), &st) == 0 && st.st_dev == out_st.st_dev && st.st_ino == out_st.st_ino) continue;
      kept.push_back(f);
    }
    files.swap(kept);
  }
  std::vector<std::string> names;
  for (const pack::InputFile &f : files) names.push_back(f.name);
  pack::PayloadReport report;
  pack::check_payload_names(names, report);
  if (!report_payload(folder, report)) return false;
  const std::string problem = pack::input_files_problem(files, failed_path);
  if (!problem.empty()) {
    print_error(failed_path, problem);
    return false;
  }
  ProgressLine progress = ProgressLine::for_stderr();
  std::uint64_t total = 0;
  for (const pack::InputFile &f : files) total += f.size;
  progress.set_totals(static_cast<int>(files.size()), total);
  ProgressObserver observer(progress);
  pack::MemorySink sink;
  const bool ok = pack::archive_files(files, sink, "TWDATA.ARJ", 1, pack::kDefaultLevel, &observer, failed_path,
                                      error);
  progress.clear();
  if (!ok) {
    print_error(failed_path.empty() ? folder : failed_path, error);
    return false;
  }
  archive.swap(sink.bytes);
  return true;
}

bool payload_from_archive(const std::string &path, std::vector<std::uint8_t> &archive) {
  std::string error;
  if (!pack::read_whole_file(path, archive, error)) {
    print_error(path, error);
    return false;
  }
  std::vector<pack::IndexedEntry> entries;
  std::size_t length = 0;
  if (!pack::index_archive(archive.data(), archive.size(), entries, length, error)) {
    print_error(path, "not a usable archive: " + error);
    return false;
  }
  pack::PayloadReport report;
  pack::check_payload_entries(entries, report);
  return report_payload(path, report);
}

}  // namespace

int cmd_build(int argc, char **argv) {
  const ParsedArgs args =
      parse_args(argc, argv, {{0, "stub", true}, {0, "mode", true}, {'o', "output", true}});
  if (args.help) return print_help(kBuildHelp);
  if (!args.error.empty()) return usage_error("build", args.error);
  if (!args.has("stub") || args.options.at("stub").empty()) return usage_error("build", "no stub given (--stub STUB.exe)");
  if (!args.has("output") || args.options.at("output").empty()) return usage_error("build", "no output given (-o SETUP.exe)");
  if (args.operands.size() != 1) {
    return usage_error("build", args.operands.empty() ? "no payload given (a folder or an archive)"
                                                      : "give one payload (a folder or an archive)");
  }
  pack::RunMode mode = pack::kRunStandard;
  if (args.has("mode")) {
    const std::string &m = args.options.at("mode");
    if (m == "silent") {
      mode = pack::kRunSilent;
    } else if (m != "standard") {
      return usage_error("build", "mode must be 'standard' or 'silent', not '" + m + "'");
    }
  }
  const std::string stub_path = args.options.at("stub");
  const std::string output = args.options.at("output");
  const std::string payload = args.operands[0];

  std::vector<std::uint8_t> stub;
  std::string error;
  if (!pack::read_whole_file(stub_path, stub, error)) {
    print_error(stub_path, error);
    return kExitFailed;
  }
  const std::string stub_fault = pack::stub_problem(stub);
  if (!stub_fault.empty()) {
    print_error(stub_path, stub_fault);
    return kExitFailed;
  }

  struct stat st {};
  if (::stat(payload.c_str(), &st) != 0) {
    print_error(payload, "cannot find it");
    return kExitFailed;
  }
  std::vector<std::uint8_t> archive;
  const bool have_payload = S_ISDIR(st.st_mode) ? payload_from_folder(payload, output, archive)
                                                : payload_from_archive(payload, archive);
  if (!have_payload) return kExitFailed;

  std::vector<std::uint8_t> installer;
  if (!pack::assemble_installer(stub, archive, mode, installer, error)) {
    print_error(output, error);
    return kExitFailed;
  }
  const std::filesystem::path out_path(output);
  StagedFile staged;
  if (!staged.create(out_path.has_parent_path() ? out_path.parent_path().string() : ".", error) ||
      !staged.write(installer.data(), installer.size()) || !staged.commit(output, true, error)) {
    print_error(output, error.empty() ? "write failed" : error);
    return kExitFailed;
  }
  std::printf("%s: installer of %zu bytes, archive at offset %zu (%zu bytes), %s mode\n", output.c_str(),
              installer.size(), stub.size(), archive.size(), mode == pack::kRunSilent ? "silent" : "standard");
  return kExitOk;
}

}  // namespace twpack
