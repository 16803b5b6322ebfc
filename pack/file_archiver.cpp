#include "pack/file_archiver.h"

#include <cctype>
#include <ctime>
#include <map>

#include "pack/dos_time.h"

namespace pack {

std::string input_files_problem(const std::vector<InputFile> &files, std::string &failed_path) {
  std::map<std::string, std::string> seen;  // upper-cased name -> path
  for (const InputFile &f : files) {
    failed_path = f.path;
    const std::string problem = entry_name_problem(f.name);
    if (!problem.empty()) return problem;
    if (f.size > kMaxEntrySize) return "too large for an entry (2 GiB or more)";
    std::string key = f.name;
    for (char &c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto found = seen.find(key);
    if (found != seen.end()) return "same entry name as " + found->second + " (letter case ignored)";
    seen[key] = f.path;
  }
  failed_path.clear();
  return "";
}

bool archive_files(const std::vector<InputFile> &files, ByteSink &sink, const std::string &archive_name,
                   int method, int level, ArchiveObserver *observer, std::string &failed_path, std::string &error) {
  ArchiveWriter writer(sink, archive_name, dos_time_from_unix(std::time(nullptr)));
  std::vector<std::uint8_t> data;
  int number = 0;
  for (const InputFile &f : files) {
    failed_path = f.path;
    if (observer != nullptr) observer->begin_entry(++number, f.name);
    if (!read_whole_file(f.path, data, error)) return false;
    if (data.size() > kMaxEntrySize) {
      error = "too large for an entry (2 GiB or more)";
      return false;
    }
    std::uint64_t reported = 0;
    ProgressFn progress;
    if (observer != nullptr) {
      progress = [&](std::uint64_t done) {
        if (done > reported) observer->add_bytes(done - reported);
        reported = done;
      };
    }
    const PackedData packed = pack_data(data.data(), data.size(), method, level, progress);
    if (observer != nullptr && data.size() > reported) observer->add_bytes(data.size() - reported);
    if (!writer.add_packed(f.name, packed, data.size(), f.dos_time)) {
      failed_path.clear();
      error = "cannot write the archive";
      return false;
    }
    if (writer.bytes_written() > kMaxEntrySize) {
      failed_path.clear();
      error = "the archive would reach 2 GiB, more than the reader can take";
      return false;
    }
  }
  failed_path.clear();
  if (!writer.finish()) {
    error = "cannot write the archive";
    return false;
  }
  return true;
}

}  // namespace pack
