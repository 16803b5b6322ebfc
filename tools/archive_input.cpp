#include "tools/archive_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include <sys/stat.h>

namespace twpack {
namespace {

struct FileCloser {
  void operator()(std::FILE *file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// The stub copies the archive with signed 32-bit offsets.
constexpr std::uint64_t kInstallerAddressLimit = 0x80000000u;

}  // namespace

std::string run_mode_text(std::int8_t run_mode) {
  if (run_mode == pack::kRunStandard) return "standard";
  if (run_mode == pack::kRunSilent) return "silent";
  return std::to_string(run_mode) + " (runs as standard)";
}

bool open_archive_input(const std::string &path, ArchiveInput &input, std::string &error) {
  input = ArchiveInput{};
  input.path = path;

  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    error = std::strerror(errno);
    return false;
  }
  if (S_ISDIR(info.st_mode)) {
    error = "is a folder, not an archive";
    return false;
  }
  UniqueFile file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  input.file_length = static_cast<std::uint64_t>(info.st_size);

  unsigned char head[pack::kDescriptorOffset + pack::kDescriptorSize] = {};
  const std::size_t got = std::fread(head, 1, sizeof head, file.get());
  if (got < 2 || head[0] != 'M' || head[1] != 'Z') return true;  // a plain archive

  input.installer = true;
  if (got < sizeof head) {
    error = "begins with \"MZ\" but is too short (" + std::to_string(got) +
            " bytes) to hold an installer descriptor";
    return false;
  }
  input.descriptor = pack::decode_descriptor(head + pack::kDescriptorOffset);
  const pack::PayloadDescriptor &d = input.descriptor;
  if (d.archive_offset == 0 && d.archive_size == 0) {
    error = "is an installer stub without an archive (its descriptor is empty)";
    return false;
  }
  if (!pack::length_matches(d, input.file_length)) {
    const std::uint64_t end = static_cast<std::uint64_t>(d.archive_offset) + d.archive_size;
    error = "installer is damaged: its length is " + std::to_string(input.file_length) +
            " bytes, but its descriptor puts the archive at offset " +
            std::to_string(d.archive_offset) + " with " + std::to_string(d.archive_size) +
            " bytes, ending at " + std::to_string(end) +
            (end > input.file_length ? " (bytes are missing)" : " (bytes follow the archive)");
    return false;
  }
  if (input.file_length >= kInstallerAddressLimit) {
    error = "installer is 2 GiB or larger, more than the installer can read";
    return false;
  }
  if (d.archive_offset < sizeof head) {
    error = "installer descriptor puts the archive at offset " + std::to_string(d.archive_offset) +
            ", inside the executable's header";
    return false;
  }
  input.start_offset = static_cast<long>(d.archive_offset);
  return true;
}

}  // namespace twpack
