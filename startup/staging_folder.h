// The per-run staging folder under the temporary folder.
#ifndef STARTUP_STAGING_FOLDER_H
#define STARTUP_STAGING_FOLDER_H

#include <cstdint>

#include "platform/os.h"

// Empties folder_path (with or without a trailing backslash) of its files and
// removes it. Subfolders are not descended, so a folder holding one stays.
// Returns 0 when the folder was removed, -1 otherwise.
int clear_folder(platform::Os &os, const char *folder_path);

enum class StagingResult {
  kMade,
  kNoTempFolder,    // the temporary folder cannot be obtained (or is too long)
  kNoTempName,      // no unique temporary file name
  kBadTempName,     // the name holds no '.', or leaves no room for our file names
  kCannotCreate,    // the folder cannot be created
};

// Makes (or clears and reuses) the staging folder. On kMade, staging_folder
// holds its path with exactly one trailing backslash and staging_path the
// same without it; both are kMaxPath chars.
StagingResult make_staging_folder(platform::Os &os, char *staging_folder, char *staging_path);

#endif  // STARTUP_STAGING_FOLDER_H
