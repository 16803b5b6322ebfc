// The installer's view of the operating system.
//
// Everything the start-up, the extraction run and the setup launch need from
// the OS goes through this interface, so the logic can run against a test
// double on any platform. Calls are named after what the installer needs and
// keep the Win32 / C runtime conventions of the call behind them (counts of 0
// for failure, -1 from the low-level file functions, ANSI paths).
#ifndef PLATFORM_OS_H
#define PLATFORM_OS_H

#include <cstdint>

namespace platform {

// Every path the installer builds lives in a buffer of this many chars.
constexpr std::uint32_t kMaxPath = 260;

// An opaque kernel object handle (mutex, process, thread); null means none.
using Handle = void *;

// A directory enumeration in progress; kNoFind when it could not start.
using FindHandle = std::intptr_t;
constexpr FindHandle kNoFind = -1;

struct FindEntry {
  char name[kMaxPath];  // bare name of the entry, NUL-terminated
};

enum class OpenMode {
  kReadOnly,         // binary, read only
  kReadWriteCreate,  // binary, read and write, created if absent (never truncated)
};

struct OsVersion {
  std::uint32_t platform_id;    // 1 = 95/98/Me, 2 = NT
  std::uint32_t major_version;
};

struct ProcessHandles {
  Handle process = nullptr;
  Handle thread = nullptr;
};

// wait_for_process result when the wait itself failed.
constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

class Os {
 public:
  // Hardening done first thing at start: DLLs are loaded from the system
  // folder only, where the system supports saying so.
  virtual void restrict_library_search() = 0;

  // Full path of the running executable; returns its length, 0 on failure.
  virtual std::uint32_t module_path(char *buffer, std::uint32_t size) = 0;
  // The temporary folder with its trailing backslash; returns its length
  // (or the size needed when it does not fit), 0 on failure.
  virtual std::uint32_t temp_folder(char *buffer, std::uint32_t size) = 0;
  // Creates an empty, uniquely named file prefix + hex + ".TMP" in folder and
  // writes its full path to name_out (kMaxPath chars); returns 0 on failure.
  virtual std::uint32_t unique_temp_file(const char *folder, const char *prefix, char *name_out) = 0;

  // C runtime conventions: 0 on success, -1 on failure.
  virtual int delete_file(const char *path) = 0;                 // fails on a folder
  virtual int rename_file(const char *from, const char *to) = 0;  // fails when `to` exists
  virtual int remove_folder(const char *path) = 0;               // fails unless empty
  virtual bool exists(const char *path) = 0;                     // file or folder
  virtual bool create_folder(const char *path) = 0;
  virtual bool set_normal_attributes(const char *path) = 0;  // clears read-only, hidden, system
  virtual bool copy_file(const char *from, const char *to, bool fail_if_exists) = 0;

  // Enumeration of a pattern such as "C:\\Temp\\TW1A\\*.*", "." and ".." included.
  virtual FindHandle find_first(const char *pattern, FindEntry &entry) = 0;
  virtual bool find_next(FindHandle find, FindEntry &entry) = 0;
  virtual void find_close(FindHandle find) = 0;

  // Low-level descriptor files, binary mode; -1 on failure.
  virtual int open_file(const char *path, OpenMode mode) = 0;
  virtual int read_file(int fd, void *buffer, std::uint32_t count) = 0;
  virtual int write_file(int fd, const void *buffer, std::uint32_t count) = 0;
  virtual std::int32_t seek_file(int fd, std::int32_t offset_from_start) = 0;
  virtual std::int32_t file_length(int fd) = 0;
  virtual int close_file(int fd) = 0;

  // Named mutex, not initially owned; null on failure. Ask right after the
  // create whether the name was already taken.
  virtual Handle create_mutex(const char *name) = 0;
  virtual bool last_error_is_already_exists() = 0;
  virtual void close_handle(Handle handle) = 0;

  virtual OsVersion os_version() = 0;

  // Starts a program with no inheritance, no new environment, no current
  // folder of its own. The command line buffer may be written to by the OS.
  virtual bool start_process(const char *application_name, char *command_line, ProcessHandles &out) = 0;
  // Waits without a time limit; returns kWaitFailed when the wait failed.
  virtual std::uint32_t wait_for_process(Handle process) = 0;
  virtual bool get_exit_code(Handle process, std::uint32_t &code) = 0;

  // Error box with no owner window and a stop icon; returns when closed.
  virtual void message_box(const char *text, const char *caption) = 0;

 protected:
  ~Os() = default;
};

// The real operating system (defined by the Windows build only).
Os &system_os();

}  // namespace platform

#endif  // PLATFORM_OS_H
