#include "tools/staged_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace twpack {
namespace {

// mkstemp makes files readable by their owner only; extracted files get the
// usual permissions of a new file instead.
mode_t new_file_mode() {
  static const mode_t mode = [] {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

}  // namespace

StagedFile::StagedFile(StagedFile &&other) noexcept
    : fd_(std::move(other.fd_)),
      temp_path_(std::move(other.temp_path_)),
      write_failed_(other.write_failed_),
      write_errno_(other.write_errno_) {
  other.temp_path_.clear();
}

StagedFile &StagedFile::operator=(StagedFile &&other) noexcept {
  if (this != &other) {
    discard();
    fd_ = std::move(other.fd_);
    temp_path_ = std::move(other.temp_path_);
    other.temp_path_.clear();
    write_failed_ = other.write_failed_;
    write_errno_ = other.write_errno_;
  }
  return *this;
}

bool StagedFile::create(const std::string &folder, std::string &error) {
  discard();
  std::string pattern = folder;
  if (!pattern.empty() && pattern.back() != '/') pattern += '/';
  pattern += ".twpack-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  UniqueFd fd(::mkstemp(buffer.data()));
  if (!fd.valid()) {
    error = std::string("cannot create a file in ") + folder + ": " + std::strerror(errno);
    return false;
  }
  ::fchmod(fd.get(), new_file_mode());
  fd_ = std::move(fd);
  temp_path_ = buffer.data();
  write_failed_ = false;
  write_errno_ = 0;
  return true;
}

bool StagedFile::write(const unsigned char *data, std::size_t length) {
  if (!fd_.valid() || write_failed_) return false;
  while (length > 0) {
    const ssize_t written = ::write(fd_.get(), data, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      write_failed_ = true;
      write_errno_ = errno;
      return false;
    }
    data += written;
    length -= static_cast<std::size_t>(written);
  }
  return true;
}

bool StagedFile::commit(const std::string &final_path, bool replace, std::string &error) {
  if (!active()) {
    error = "nothing to write";
    return false;
  }
  if (write_failed_) {
    error = std::string("write failed: ") + std::strerror(write_errno_);
    discard();
    return false;
  }
  if (!fd_.close()) {
    error = std::string("write failed: ") + std::strerror(errno);
    discard();
    return false;
  }
  if (replace) {
    if (::rename(temp_path_.c_str(), final_path.c_str()) != 0) {
      error = std::string("cannot rename into place: ") + std::strerror(errno);
      discard();
      return false;
    }
    temp_path_.clear();
    return true;
  }
  // A hard link fails when the name exists, so no file that appeared in the
  // meantime is overwritten; file systems without links fall back to a check.
  if (::link(temp_path_.c_str(), final_path.c_str()) == 0) {
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
    return true;
  }
  const int link_errno = errno;
  if (link_errno == EEXIST) {
    error = "a file of that name exists (use -f to overwrite)";
    discard();
    return false;
  }
  struct stat existing {};
  if (::lstat(final_path.c_str(), &existing) == 0) {
    error = "a file of that name exists (use -f to overwrite)";
    discard();
    return false;
  }
  if (::rename(temp_path_.c_str(), final_path.c_str()) != 0) {
    error = std::string("cannot rename into place: ") + std::strerror(errno);
    discard();
    return false;
  }
  temp_path_.clear();
  return true;
}

void StagedFile::discard() {
  fd_.reset();
  if (!temp_path_.empty()) {
    ::unlink(temp_path_.c_str());
    temp_path_.clear();
  }
}

}  // namespace twpack
