#include "platform/fake_os.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace platform {
namespace {

void copy_out(const std::string &text, char *buffer, std::size_t size) {
  const std::size_t length = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
}

}  // namespace

FakeOs::FakeOs() {
  char pattern[] = "/tmp/tw_fake_os_XXXXXX";
  if (mkdtemp(pattern) == nullptr) throw std::runtime_error("cannot make a scratch folder");
  root_ = pattern;
  make_folder(temp);
  make_folder("C:\\Installers\\");
}

FakeOs::~FakeOs() {
  for (int fd : descriptors_) ::close(fd);
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string FakeOs::native_path(const std::string &windows_path) const {
  std::string rest = windows_path;
  if (rest.size() >= 2 && (rest[0] == 'C' || rest[0] == 'c') && rest[1] == ':') {
    rest.erase(0, 2);
  } else {
    rest = "\\cwd\\" + rest;  // relative names resolve against a folder of their own
  }
  std::replace(rest.begin(), rest.end(), '\\', '/');
  return root_ + (rest.empty() || rest[0] != '/' ? "/" : "") + rest;
}

void FakeOs::write_file_bytes(const std::string &path, const std::string &bytes) {
  std::ofstream out(native_path(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string FakeOs::read_file_bytes(const std::string &path) const {
  std::ifstream in(native_path(path), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FakeOs::make_folder(const std::string &path) {
  std::filesystem::create_directories(native_path(path));
}

void FakeOs::set_read_only(const std::string &path) { ::chmod(native_path(path).c_str(), 0444); }

bool FakeOs::has(const std::string &path) const {
  struct stat info;
  return ::lstat(native_path(path).c_str(), &info) == 0;
}

bool FakeOs::is_folder(const std::string &path) const {
  struct stat info;
  return ::stat(native_path(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

void FakeOs::restrict_library_search() { library_search_restricted = true; }

std::uint32_t FakeOs::module_path(char *buffer, std::uint32_t size) {
  if (module_path_fails) return 0;
  // Like the system: a name that does not fit is cut and the size returned.
  copy_out(module, buffer, size);
  return module.size() >= size ? size : static_cast<std::uint32_t>(module.size());
}

std::uint32_t FakeOs::temp_folder(char *buffer, std::uint32_t size) {
  if (temp_folder_fails) return 0;
  // Like the system: a folder that does not fit is not written; the size it needs is returned.
  if (temp.size() + 1 > size) return static_cast<std::uint32_t>(temp.size() + 1);
  copy_out(temp, buffer, size);
  return static_cast<std::uint32_t>(temp.size());
}

std::uint32_t FakeOs::unique_temp_file(const char *folder, const char *prefix, char *name_out) {
  if (unique_temp_fails) return 0;
  if (!unique_temp_override.empty()) {
    copy_out(unique_temp_override, name_out, kMaxPath);
    return 1;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(next_unique));
  const std::string name = std::string(folder) + prefix + hex + ".TMP";
  write_file_bytes(name, "");
  copy_out(name, name_out, kMaxPath);
  return next_unique++;
}

int FakeOs::delete_file(const char *path) {
  struct stat info;
  const std::string native = native_path(path);
  if (::lstat(native.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return -1;
  if ((info.st_mode & S_IWUSR) == 0) return -1;  // read-only
  return ::unlink(native.c_str()) == 0 ? 0 : -1;
}

int FakeOs::rename_file(const char *from, const char *to) {
  if (has(to) || !has(from)) return -1;
  return ::rename(native_path(from).c_str(), native_path(to).c_str()) == 0 ? 0 : -1;
}

int FakeOs::remove_folder(const char *path) { return ::rmdir(native_path(path).c_str()) == 0 ? 0 : -1; }

bool FakeOs::exists(const char *path) { return has(path); }

bool FakeOs::create_folder(const char *path) {
  if (create_folder_fails) return false;
  return ::mkdir(native_path(path).c_str(), 0755) == 0;
}

bool FakeOs::set_normal_attributes(const char *path) {
  struct stat info;
  const std::string native = native_path(path);
  if (::stat(native.c_str(), &info) != 0) return false;
  return ::chmod(native.c_str(), S_ISDIR(info.st_mode) ? 0755 : 0644) == 0;
}

bool FakeOs::copy_file(const char *from, const char *to, bool fail_if_exists) {
  if (!has(from) || is_folder(from) || is_folder(to)) return false;
  if (has(to)) {
    struct stat info;
    if (fail_if_exists || (::stat(native_path(to).c_str(), &info) == 0 && (info.st_mode & S_IWUSR) == 0)) {
      return false;
    }
  }
  std::error_code error;
  std::filesystem::copy_file(native_path(from), native_path(to), std::filesystem::copy_options::overwrite_existing,
                             error);
  return !error;
}

FindHandle FakeOs::find_first(const char *pattern, FindEntry &entry) {
  std::string folder = pattern;
  if (folder.size() < 3 || folder.compare(folder.size() - 3, 3, "*.*") != 0) return kNoFind;
  folder.erase(folder.size() - 3);
  DIR *dir = ::opendir(native_path(folder).c_str());
  if (dir == nullptr) return kNoFind;
  std::vector<std::string> names;
  while (dirent *item = ::readdir(dir)) names.emplace_back(item->d_name);
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  const FindHandle find = next_find_++;
  finds_[find] = names;
  if (!find_next(find, entry)) {
    finds_.erase(find);
    return kNoFind;
  }
  return find;
}

bool FakeOs::find_next(FindHandle find, FindEntry &entry) {
  auto it = finds_.find(find);
  if (it == finds_.end() || it->second.empty()) return false;
  copy_out(it->second.front(), entry.name, sizeof entry.name);
  it->second.erase(it->second.begin());
  return true;
}

void FakeOs::find_close(FindHandle find) { finds_.erase(find); }

int FakeOs::open_file(const char *path, OpenMode mode) {
  const std::string native = native_path(path);
  const int fd = mode == OpenMode::kReadOnly ? ::open(native.c_str(), O_RDONLY)
                                              : ::open(native.c_str(), O_RDWR | O_CREAT, 0644);
  if (fd == -1) return -1;
  struct stat info;
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {  // folders do not open as files there
    ::close(fd);
    return -1;
  }
  descriptors_.insert(fd);
  return fd;
}

int FakeOs::read_file(int fd, void *buffer, std::uint32_t count) {
  if (descriptors_.count(fd) == 0) return -1;
  return static_cast<int>(::read(fd, buffer, count));
}

int FakeOs::write_file(int fd, const void *buffer, std::uint32_t count) {
  if (descriptors_.count(fd) == 0) return -1;
  std::uint32_t allowed = count;
  if (write_budget >= 0) {
    allowed = static_cast<std::uint32_t>(std::min<long>(write_budget, count));
    write_budget -= allowed;
    if (allowed == 0 && count > 0) return -1;  // the disk is full
  }
  return static_cast<int>(::write(fd, buffer, allowed));
}

std::int32_t FakeOs::seek_file(int fd, std::int32_t offset_from_start) {
  if (descriptors_.count(fd) == 0) return -1;
  return static_cast<std::int32_t>(::lseek(fd, offset_from_start, SEEK_SET));
}

std::int32_t FakeOs::file_length(int fd) {
  struct stat info;
  if (descriptors_.count(fd) == 0 || ::fstat(fd, &info) != 0) return -1;
  return static_cast<std::int32_t>(info.st_size);
}

int FakeOs::close_file(int fd) {
  if (descriptors_.erase(fd) == 0) return -1;
  return ::close(fd);
}

Handle FakeOs::new_handle(const std::string &what) {
  Handle handle = reinterpret_cast<Handle>(next_handle_);
  next_handle_ += 4;
  handles_[handle] = what;
  return handle;
}

Handle FakeOs::create_mutex(const char *name) {
  mutex_names.emplace_back(name);
  if (create_mutex_fails) return nullptr;
  last_mutex_existed_ = taken_mutex_names.count(name) != 0;
  return new_handle("mutex");
}

bool FakeOs::last_error_is_already_exists() { return last_mutex_existed_; }

void FakeOs::close_handle(Handle handle) {
  auto it = handles_.find(handle);
  events.push_back("close " + (it == handles_.end() ? std::string("unknown handle") : it->second));
  if (it != handles_.end()) handles_.erase(it);
}

OsVersion FakeOs::os_version() { return version; }

bool FakeOs::start_process(const char *application_name, char *command_line, ProcessHandles &out) {
  processes.push_back({application_name == nullptr ? "(none)" : application_name, command_line});
  if (start_process_fails) return false;
  out.process = new_handle("process");
  out.thread = new_handle("thread");
  return true;
}

std::uint32_t FakeOs::wait_for_process(Handle /*process*/) {
  events.emplace_back("wait");
  return wait_result;
}

bool FakeOs::get_exit_code(Handle /*process*/, std::uint32_t &code) {
  events.emplace_back("exit code");
  if (exit_code_fails) return false;
  code = child_exit_code;
  return true;
}

void FakeOs::message_box(const char *text, const char *caption) { message_boxes.push_back({text, caption}); }

}  // namespace platform
