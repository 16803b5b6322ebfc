// TWDELTMP.EXE, a stand-in for the cleanup tool: it removes installer staging
// folders once nothing holds their files any more.
//
//   TWDELTMP.EXE [FOLDER...]
//
// With no folder named it takes every "TW*" folder beside itself. It removes
// only staging folders (those that hold "TWDATA.ARJ"): their files first, then
// the folder. A setup program that still runs keeps its files open, so failed
// removals are retried for up to two minutes. Exit code 0 when every folder
// has gone, 1 otherwise.
#include <windows.h>

#include <cstring>

namespace {

constexpr DWORD kRetryPauseMs = 500;
constexpr int kRetries = 240;

bool join(char *out, const char *folder, const char *name) {
  const size_t folder_length = std::strlen(folder);
  const size_t name_length = std::strlen(name);
  if (folder_length + 1 + name_length >= MAX_PATH) return false;
  std::memcpy(out, folder, folder_length);
  size_t at = folder_length;
  if (at == 0 || out[at - 1] != '\\') out[at++] = '\\';
  std::memcpy(out + at, name, name_length + 1);
  return true;
}

bool is_staging_folder(const char *folder) {
  char marker[MAX_PATH];
  return join(marker, folder, "TWDATA.ARJ") && GetFileAttributesA(marker) != INVALID_FILE_ATTRIBUTES;
}

// One pass: every file of the folder, then the folder. True when it is gone.
bool remove_once(const char *folder) {
  char pattern[MAX_PATH];
  if (!join(pattern, folder, "*")) return false;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA(pattern, &entry);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;  // not ours to descend
      char path[MAX_PATH];
      if (!join(path, folder, entry.cFileName)) continue;
      SetFileAttributesA(path, FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(path);
    } while (FindNextFileA(find, &entry));
    FindClose(find);
  }
  return RemoveDirectoryA(folder) || GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES;
}

bool remove_staging_folder(const char *folder) {
  if (!is_staging_folder(folder)) return false;
  for (int attempt = 0; attempt < kRetries; ++attempt) {
    if (remove_once(folder)) return true;
    Sleep(kRetryPauseMs);
  }
  return false;
}

// Every TW* staging folder in the folder that holds this program.
bool remove_staging_folders_beside_me() {
  char folder[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  char *last = std::strrchr(folder, '\\');
  if (!last) return false;
  *last = '\0';
  char pattern[MAX_PATH];
  if (!join(pattern, folder, "TW*")) return false;
  bool all_gone = true;
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA(pattern, &entry);
  if (find == INVALID_HANDLE_VALUE) return true;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
    char path[MAX_PATH];
    if (join(path, folder, entry.cFileName) && is_staging_folder(path)) all_gone = remove_staging_folder(path) && all_gone;
  } while (FindNextFileA(find, &entry));
  FindClose(find);
  return all_gone;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) return remove_staging_folders_beside_me() ? 0 : 1;
  bool all_gone = true;
  for (int i = 1; i < argc; ++i) {
    char folder[MAX_PATH];
    const size_t length = std::strlen(argv[i]);
    if (length == 0 || length >= MAX_PATH) {
      all_gone = false;
      continue;
    }
    std::memcpy(folder, argv[i], length + 1);
    if (folder[length - 1] == '\\') folder[length - 1] = '\0';  // "C:\Temp\TW1A\" names the folder too
    all_gone = remove_staging_folder(folder) && all_gone;
  }
  return all_gone ? 0 : 1;
}
