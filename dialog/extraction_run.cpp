#include "dialog/extraction_run.h"

#include <cstring>

#include "dialog/entry_name.h"
#include "platform/path_text.h"

namespace {

constexpr int kEndedByCancel = 2;  // IDCANCEL
constexpr std::int32_t kStandardWithCleanup = 0;
constexpr char kCleanupTool[] = "TWDELTMP.EXE";

// The output folder as the run found it when it started.
char extract_folder[platform::kMaxPath];

}  // namespace

void extract_all(platform::Os &os, ArchiveEngine &engine, DialogOps &dialog, const char *archive_folder,
                 const char *output_folder) {
  char archive_path[platform::kMaxPath] = {};
  char temporary_path[platform::kMaxPath] = {};
  if (archive_folder == nullptr || output_folder == nullptr) return;
  if (!platform::path_join(archive_path, archive_folder, "TWDATA.ARJ") ||
      !platform::path_join(temporary_path, output_folder, "NEWFILE.TMP") ||
      !platform::path_copy(extract_folder, output_folder)) {
    return;
  }

  // A failed count comes back as a result code and is taken as the number of
  // entries: entry 1 then fails and nothing is extracted.
  const auto count = static_cast<std::int16_t>(engine.count_entries(archive_path));
  if (count < 0) return;
  dialog.set_progress_range(count);
  dialog.set_progress_step(1);

  for (int number = 1; number <= count; ++number) {
    dialog.pump_messages();
    char entry_name[256] = {};
    const int result = engine.extract_entry(archive_path, number, temporary_path, entry_name);
    if ((result & 0xFFFF) != 0) return;
    entry_name[sizeof entry_name - 1] = '\0';

    // A name that leaves the output folder, or a path that does not fit,
    // fails the entry like a damaged one.
    char final_path[platform::kMaxPath] = {};
    if (!is_contained_entry_name(entry_name) || !platform::path_join(final_path, extract_folder, entry_name)) return;

    // Fails when the name is taken; the data then stays under the temporary name.
    os.rename_file(temporary_path, final_path);
    dialog.step_progress();
  }
}

void stage_cleanup_tool(platform::Os &os, const char *folder) {
  char source_path[platform::kMaxPath] = {};
  if (folder == nullptr || !platform::path_join(source_path, folder, kCleanupTool)) return;

  char target_path[platform::kMaxPath] = {};
  platform::path_copy(target_path, folder);
  const std::size_t length = std::strlen(target_path);
  if (length == 0) return;
  target_path[length - 1] = '\0';
  char *parent_end = std::strrchr(target_path, '\\');
  if (parent_end == nullptr) return;
  parent_end[1] = '\0';
  if (!platform::path_append(target_path, kCleanupTool)) return;

  os.copy_file(source_path, target_path, false);
}

bool on_extract_timer(platform::Os &os, ArchiveEngine &engine, DialogOps &dialog, unsigned timer_id,
                      std::int32_t run_mode, const char *archive_folder, const char *output_folder) {
  if (timer_id != kExtractTimerId) return false;
  // Killed before any work: the pump below must not bring a second tick here.
  dialog.kill_timer(kExtractTimerId);
  extract_all(os, engine, dialog, archive_folder, output_folder);
  if (run_mode == kStandardWithCleanup) stage_cleanup_tool(os, output_folder);
  dialog.hide();
  launch_setup(os, run_mode, output_folder);
  dialog.end_dialog(kEndedByCancel);
  return true;
}
