// A stand-in for the operating system in native tests.
//
// Files and folders are real, inside a scratch folder that plays drive C:
// ("C:\\Temp\\TW1A\\X" lives at <root>/Temp/TW1A/X), so our own engine can
// write into them. Where Linux and Windows differ, Windows behaviour is
// given: a rename onto an existing name fails, a delete does not remove a
// folder, "*.*" finds every entry, read-only files resist deletion. Every
// other answer is scripted, and message boxes and process starts are recorded.
#ifndef PLATFORM_FAKE_OS_H
#define PLATFORM_FAKE_OS_H

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/os.h"

namespace platform {

class FakeOs final : public Os {
 public:
  struct MessageBoxShown {
    std::string text;
    std::string caption;
  };
  struct ProcessStarted {
    std::string application_name;
    std::string command_line;
  };

  // Makes a fresh scratch folder for drive C: (removed again by the destructor).
  FakeOs();
  ~FakeOs();
  FakeOs(const FakeOs &) = delete;
  FakeOs &operator=(const FakeOs &) = delete;

  // Where a "C:\\..." path lives on this machine.
  std::string native_path(const std::string &windows_path) const;

  // Test-side file helpers, all in Windows paths.
  void write_file_bytes(const std::string &path, const std::string &bytes);
  std::string read_file_bytes(const std::string &path) const;
  void make_folder(const std::string &path);
  void set_read_only(const std::string &path);
  bool has(const std::string &path) const;
  bool is_folder(const std::string &path) const;

  // Scripted answers.
  std::string module = "C:\\Installers\\setup.exe";
  bool module_path_fails = false;
  std::string temp = "C:\\Temp\\";
  bool temp_folder_fails = false;
  std::uint32_t next_unique = 0x1A;   // hex part of the next temporary name
  bool unique_temp_fails = false;
  std::string unique_temp_override;   // answered instead of a real name when set
  bool create_folder_fails = false;
  OsVersion version{2, 10};
  std::set<std::string> taken_mutex_names;  // names another installer holds
  bool create_mutex_fails = false;
  long write_budget = -1;  // bytes that writes may still put out; -1 for no limit
  bool start_process_fails = false;
  std::uint32_t wait_result = 0;
  bool exit_code_fails = false;
  std::uint32_t child_exit_code = 0;

  // What happened.
  bool library_search_restricted = false;
  std::vector<MessageBoxShown> message_boxes;
  std::vector<std::string> mutex_names;
  std::vector<ProcessStarted> processes;
  std::vector<std::string> events;  // wait / exit code / close, in order
  int open_descriptors() const { return static_cast<int>(descriptors_.size()); }
  int open_finds() const { return static_cast<int>(finds_.size()); }
  int open_handles() const { return static_cast<int>(handles_.size()); }

  // Os
  void restrict_library_search() override;
  std::uint32_t module_path(char *buffer, std::uint32_t size) override;
  std::uint32_t temp_folder(char *buffer, std::uint32_t size) override;
  std::uint32_t unique_temp_file(const char *folder, const char *prefix, char *name_out) override;
  int delete_file(const char *path) override;
  int rename_file(const char *from, const char *to) override;
  int remove_folder(const char *path) override;
  bool exists(const char *path) override;
  bool create_folder(const char *path) override;
  bool set_normal_attributes(const char *path) override;
  bool copy_file(const char *from, const char *to, bool fail_if_exists) override;
  FindHandle find_first(const char *pattern, FindEntry &entry) override;
  bool find_next(FindHandle find, FindEntry &entry) override;
  void find_close(FindHandle find) override;
  int open_file(const char *path, OpenMode mode) override;
  int read_file(int fd, void *buffer, std::uint32_t count) override;
  int write_file(int fd, const void *buffer, std::uint32_t count) override;
  std::int32_t seek_file(int fd, std::int32_t offset_from_start) override;
  std::int32_t file_length(int fd) override;
  int close_file(int fd) override;
  Handle create_mutex(const char *name) override;
  bool last_error_is_already_exists() override;
  void close_handle(Handle handle) override;
  OsVersion os_version() override;
  bool start_process(const char *application_name, char *command_line, ProcessHandles &out) override;
  std::uint32_t wait_for_process(Handle process) override;
  bool get_exit_code(Handle process, std::uint32_t &code) override;
  void message_box(const char *text, const char *caption) override;

 private:
  Handle new_handle(const std::string &what);

  std::string root_;
  std::set<int> descriptors_;
  std::map<FindHandle, std::vector<std::string>> finds_;
  FindHandle next_find_ = 1;
  std::map<Handle, std::string> handles_;
  std::uintptr_t next_handle_ = 0x100;
  bool last_mutex_existed_ = false;
};

}  // namespace platform

#endif  // PLATFORM_FAKE_OS_H
