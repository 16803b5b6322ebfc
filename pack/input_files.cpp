#include "pack/input_files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include <sys/stat.h>

#include "pack/dos_time.h"

namespace pack {
namespace {

namespace fs = std::filesystem;

bool add_file(const std::string &path, const struct stat &st, std::vector<InputFile> &files, std::string &error) {
  if (!S_ISREG(st.st_mode)) {
    error = "not a regular file";
    return false;
  }
  InputFile f;
  f.path = path;
  f.name = fs::path(path).filename().string();
  f.size = static_cast<std::uint64_t>(st.st_size);
  f.dos_time = dos_time_from_unix(st.st_mtime);
  files.push_back(f);
  return true;
}

}  // namespace

bool collect_input_files(const std::vector<std::string> &paths, std::vector<InputFile> &files,
                         std::string &failed_path, std::string &error) {
  for (const std::string &path : paths) {
    failed_path = path;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
      error = std::strerror(errno);
      return false;
    }
    if (!S_ISDIR(st.st_mode)) {
      if (!add_file(path, st, files, error)) return false;
      continue;
    }
    std::vector<std::string> children;
    std::error_code ec;
    for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
      children.push_back(it->path().string());
    }
    if (ec) {
      error = "cannot read the folder: " + ec.message();
      return false;
    }
    std::sort(children.begin(), children.end());
    for (const std::string &child : children) {
      failed_path = child;
      struct stat child_st {};
      if (::stat(child.c_str(), &child_st) != 0) {
        error = std::strerror(errno);
        return false;
      }
      if (S_ISDIR(child_st.st_mode)) {
        error = "a folder inside a folder cannot be stored (entries hold plain file names)";
        return false;
      }
      if (!add_file(child, child_st, files, error)) return false;
    }
  }
  failed_path.clear();
  return true;
}

bool read_whole_file(const std::string &path, std::vector<std::uint8_t> &bytes, std::string &error) {
  struct Closer {
    void operator()(std::FILE *f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file(std::fopen(path.c_str(), "rb"));
  if (!file) {
    error = std::string("cannot open: ") + std::strerror(errno);
    return false;
  }
  bytes.clear();
  std::uint8_t buffer[65536];
  for (;;) {
    const std::size_t got = std::fread(buffer, 1, sizeof buffer, file.get());
    bytes.insert(bytes.end(), buffer, buffer + got);
    if (got < sizeof buffer) break;
  }
  if (std::ferror(file.get())) {
    error = std::string("read failed: ") + std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace pack
