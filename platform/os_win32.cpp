// The OS seam over Win32 and the C runtime: one call behind each operation.
#include <windows.h>

#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>

#include "platform/os.h"

namespace platform {
namespace {

constexpr DWORD kLoadLibrarySearchSystem32 = 0x00000800;
using SetDefaultDllDirectoriesFn = BOOL(WINAPI *)(DWORD);

class Win32Os final : public Os {
 public:
  void restrict_library_search() override {
    // Looked up at run time: older systems lack the call and keep their
    // default search order.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (kernel == nullptr) return;
    FARPROC proc = GetProcAddress(kernel, "SetDefaultDllDirectories");
    if (proc == nullptr) return;
    reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(proc))(kLoadLibrarySearchSystem32);
  }

  std::uint32_t module_path(char *buffer, std::uint32_t size) override {
    return GetModuleFileNameA(nullptr, buffer, size);
  }
  std::uint32_t temp_folder(char *buffer, std::uint32_t size) override { return GetTempPathA(size, buffer); }
  std::uint32_t unique_temp_file(const char *folder, const char *prefix, char *name_out) override {
    return GetTempFileNameA(folder, prefix, 0, name_out);
  }

  int delete_file(const char *path) override { return remove(path); }
  int rename_file(const char *from, const char *to) override { return rename(from, to); }
  int remove_folder(const char *path) override { return _rmdir(path); }
  bool exists(const char *path) override { return _access(path, 0) == 0; }
  bool create_folder(const char *path) override { return CreateDirectoryA(path, nullptr) != FALSE; }
  bool set_normal_attributes(const char *path) override {
    return SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL) != FALSE;
  }
  bool copy_file(const char *from, const char *to, bool fail_if_exists) override {
    return CopyFileA(from, to, fail_if_exists ? TRUE : FALSE) != FALSE;
  }

  FindHandle find_first(const char *pattern, FindEntry &entry) override {
    _finddata_t data;
    const intptr_t find = _findfirst(pattern, &data);
    if (find != -1) copy_name(data, entry);
    return find == -1 ? kNoFind : find;
  }
  bool find_next(FindHandle find, FindEntry &entry) override {
    _finddata_t data;
    if (_findnext(find, &data) != 0) return false;
    copy_name(data, entry);
    return true;
  }
  void find_close(FindHandle find) override { _findclose(find); }

  int open_file(const char *path, OpenMode mode) override {
    if (mode == OpenMode::kReadOnly) return _open(path, _O_RDONLY | _O_BINARY);
    return _open(path, _O_RDWR | _O_CREAT | _O_BINARY, _S_IREAD | _S_IWRITE);
  }
  int read_file(int fd, void *buffer, std::uint32_t count) override { return _read(fd, buffer, count); }
  int write_file(int fd, const void *buffer, std::uint32_t count) override { return _write(fd, buffer, count); }
  std::int32_t seek_file(int fd, std::int32_t offset_from_start) override {
    return _lseek(fd, offset_from_start, SEEK_SET);
  }
  std::int32_t file_length(int fd) override { return _filelength(fd); }
  int close_file(int fd) override { return _close(fd); }

  Handle create_mutex(const char *name) override { return CreateMutexA(nullptr, FALSE, name); }
  bool last_error_is_already_exists() override { return GetLastError() == ERROR_ALREADY_EXISTS; }
  void close_handle(Handle handle) override { CloseHandle(handle); }

  OsVersion os_version() override {
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    GetVersionExA(&info);
    return OsVersion{info.dwPlatformId, info.dwMajorVersion};
  }

  bool start_process(const char *application_name, char *command_line, ProcessHandles &out) override {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(application_name, command_line, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
      return false;
    }
    out.process = process.hProcess;
    out.thread = process.hThread;
    return true;
  }
  std::uint32_t wait_for_process(Handle process) override { return WaitForSingleObject(process, INFINITE); }
  bool get_exit_code(Handle process, std::uint32_t &code) override {
    DWORD exit_code = 0;
    if (!GetExitCodeProcess(process, &exit_code)) return false;
    code = exit_code;
    return true;
  }

  void message_box(const char *text, const char *caption) override {
    MessageBoxA(nullptr, text, caption, MB_ICONERROR);
  }

 private:
  static void copy_name(const _finddata_t &data, FindEntry &entry) {
    lstrcpynA(entry.name, data.name, sizeof entry.name);
  }
};

static_assert(sizeof(OSVERSIONINFOA) == 148, "the version query expects the 148-byte structure");
static_assert(sizeof(STARTUPINFOA) == 68, "the launch expects the 68-byte startup information");

Win32Os win32_os;

}  // namespace

Os &system_os() { return win32_os; }

}  // namespace platform
