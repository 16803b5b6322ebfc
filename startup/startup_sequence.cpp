#include "startup/startup_sequence.h"

#include "dialog/setup_launch.h"
#include "startup/parameter_file.h"
#include "startup/payload.h"
#include "startup/staging_folder.h"
#include "startup/startup_messages.h"

namespace {

std::uint32_t fail(platform::Os &os, const char *text, std::uint32_t exit_code) {
  os.message_box(text, startup_text::kCaption);
  return exit_code;
}

}  // namespace

std::uint32_t run_startup(platform::Os &os, const char *command_line_tail, DialogLauncher &launcher,
                          StartupState &state) {
  char module_path[platform::kMaxPath] = {};
  char staging_folder[platform::kMaxPath] = {};
  std::int32_t run_mode = 0;
  std::uint32_t archive_offset = 0;
  std::uint32_t archive_size = 0;

  // Installers are started from download folders, where planted DLLs wait.
  os.restrict_library_search();

  if (is_already_running(os, state.instance_mutex) == 1) return fail(os, startup_text::kAlreadyRunning, 0);

  // A path that fills the buffer has been cut short: no use to anyone.
  const std::uint32_t module_length = os.module_path(module_path, platform::kMaxPath);
  if (module_length == 0 || module_length >= platform::kMaxPath) return fail(os, startup_text::kNoModulePath, 0);

  switch (make_staging_folder(os, staging_folder, state.staging_path)) {
    case StagingResult::kMade:
      break;
    case StagingResult::kNoTempFolder:
      return fail(os, startup_text::kNoTempFolder, kExitNoTempFolder);
    case StagingResult::kNoTempName:
      return fail(os, startup_text::kNoTempName, kExitNoTempName);
    case StagingResult::kBadTempName:
      return fail(os, startup_text::kBadTempName, 0);
    case StagingResult::kCannotCreate:
      return fail(os, startup_text::kCannotCreateFolder, 0);
  }

  if (read_payload_descriptor(os, module_path, &run_mode, &archive_offset, &archive_size) == 0) {
    return fail(os, startup_text::kExtractionFailed, 0);
  }
  switch (stage_archive(os, module_path, staging_folder, archive_offset, archive_size)) {
    case StageResult::kStaged:
      break;
    case StageResult::kFailed:
      return fail(os, startup_text::kExtractionFailed, kExitStagingFailed);
    case StageResult::kLengthMismatch:
      return kExitCorruptInstaller;
  }

  write_parameter_file(os, staging_folder, command_line_tail);

  launcher.run_dialog(staging_folder, run_mode);
  return process_exit_code;
}

std::uint32_t run_startup(platform::Os &os, const char *command_line_tail, DialogLauncher &launcher) {
  // The guard's handle must outlive the run: it is released with the process.
  static StartupState state;
  return run_startup(os, command_line_tail, launcher, state);
}
