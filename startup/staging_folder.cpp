#include "startup/staging_folder.h"

#include <cstring>

#include "platform/os_resources.h"
#include "platform/path_text.h"

using platform::kMaxPath;

namespace {

// The longest bare name the installer itself appends to the staging folder;
// a folder that leaves no room for it is refused before anything is made.
constexpr std::size_t kLongestOwnName = sizeof("TWDELTMP.EXE") - 1;

bool is_dot_entry(const char *name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

}  // namespace

int clear_folder(platform::Os &os, const char *folder_path) {
  if (folder_path == nullptr || folder_path[0] == '\0') return -1;  // never the drive's root

  char folder[kMaxPath] = {};
  if (!platform::path_copy(folder, folder_path)) return -1;
  const std::size_t length = std::strlen(folder);
  if (folder[length - 1] != '\\' && !platform::path_append(folder, "\\")) return -1;

  char pattern[kMaxPath] = {};
  if (platform::path_join(pattern, folder, "*.*")) {
    platform::FindEntry entry{};
    platform::FindScope find(os, os.find_first(pattern, entry));
    if (find.valid()) {
      do {
        if (is_dot_entry(entry.name)) continue;
        // Read-only and hidden files go too; subfolders resist the delete and stay.
        char entry_path[kMaxPath] = {};
        if (!platform::path_join(entry_path, folder, entry.name)) continue;
        os.set_normal_attributes(entry_path);
        os.delete_file(entry_path);
      } while (os.find_next(find.get(), entry));
    }
  }

  folder[std::strlen(folder) - 1] = '\0';
  return os.remove_folder(folder);
}

StagingResult make_staging_folder(platform::Os &os, char *staging_folder, char *staging_path) {
  char temp_folder[kMaxPath] = {};
  const std::uint32_t temp_length = os.temp_folder(temp_folder, kMaxPath);
  // A longer answer is the size the folder would need: it did not fit.
  if (temp_length == 0 || temp_length >= kMaxPath) return StagingResult::kNoTempFolder;

  char path[kMaxPath] = {};
  if (os.unique_temp_file(temp_folder, "TW", path) == 0) return StagingResult::kNoTempName;
  path[kMaxPath - 1] = '\0';
  // Only the name is wanted, not the file the system made for it.
  os.delete_file(path);

  char *dot = std::strrchr(path, '.');
  if (dot == nullptr) return StagingResult::kBadTempName;
  *dot = '\0';
  if (std::strlen(path) + 1 + kLongestOwnName >= kMaxPath) return StagingResult::kBadTempName;

  if (os.exists(path)) {
    clear_folder(os, path);
    // A folder that could not be removed is reused with what is left in it.
    if (!os.exists(path) && !os.create_folder(path)) return StagingResult::kCannotCreate;
  } else if (!os.create_folder(path)) {
    return StagingResult::kCannotCreate;
  }

  std::memset(staging_path, 0, kMaxPath);
  std::memcpy(staging_path, path, std::strlen(path) + 1);
  std::memset(staging_folder, 0, kMaxPath);
  platform::path_copy(staging_folder, kMaxPath, path);
  platform::path_append(staging_folder, kMaxPath, "\\");
  return StagingResult::kMade;
}
