// Owners for what the installer opens through the OS seam: each closes its
// resource exactly once, on every way out of the scope that holds it.
// (Process handles are closed by the launch itself, in a fixed order.)
#ifndef PLATFORM_OS_RESOURCES_H
#define PLATFORM_OS_RESOURCES_H

#include "platform/os.h"

namespace platform {

// A low-level file descriptor.
class FileDescriptor {
 public:
  FileDescriptor(Os &os, int fd) : os_(&os), fd_(fd) {}
  ~FileDescriptor() { close(); }
  FileDescriptor(FileDescriptor &&other) noexcept : os_(other.os_), fd_(other.fd_) { other.fd_ = -1; }
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  FileDescriptor &operator=(FileDescriptor &&) = delete;

  bool valid() const { return fd_ != -1; }
  int get() const { return fd_; }
  void close() {
    if (fd_ != -1) os_->close_file(fd_);
    fd_ = -1;
  }

 private:
  Os *os_;
  int fd_;
};

// A directory enumeration.
class FindScope {
 public:
  FindScope(Os &os, FindHandle find) : os_(&os), find_(find) {}
  ~FindScope() {
    if (find_ != kNoFind) os_->find_close(find_);
  }
  FindScope(FindScope &&other) noexcept : os_(other.os_), find_(other.find_) { other.find_ = kNoFind; }
  FindScope(const FindScope &) = delete;
  FindScope &operator=(const FindScope &) = delete;
  FindScope &operator=(FindScope &&) = delete;

  bool valid() const { return find_ != kNoFind; }
  FindHandle get() const { return find_; }

 private:
  Os *os_;
  FindHandle find_;
};

}  // namespace platform

#endif  // PLATFORM_OS_RESOURCES_H
