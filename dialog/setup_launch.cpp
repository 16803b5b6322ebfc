#include "dialog/setup_launch.h"

#include "platform/path_text.h"

std::uint32_t process_exit_code = 0;

namespace {

constexpr std::int32_t kSilentMode = 1;

void close_process(platform::Os &os, const platform::ProcessHandles &handles) {
  os.close_handle(handles.process);
  os.close_handle(handles.thread);
}

}  // namespace

void launch_setup(platform::Os &os, std::int32_t run_mode, const char *folder) {
  // The program is named by its full path as well as on the command line:
  // with blanks in the folder, the system would otherwise try the pieces of
  // the unquoted path as programs of their own.
  char program[platform::kMaxPath] = {};
  if (folder == nullptr || !platform::path_join(program, folder, "inst.exe")) return;

  // Room for the longest folder the staging step lets through plus the switch.
  char command_line[platform::kMaxPath + 32] = {};
  platform::path_copy(command_line, program);
  platform::path_append(command_line, run_mode == kSilentMode ? " /SILENT" : " /STANDARD");

  platform::ProcessHandles handles;
  if (!os.start_process(program, command_line, handles)) return;

  if (run_mode != kSilentMode) {
    close_process(os, handles);
    return;
  }
  std::uint32_t exit_code = 0;
  if (os.wait_for_process(handles.process) == platform::kWaitFailed || !os.get_exit_code(handles.process, exit_code)) {
    close_process(os, handles);
    return;
  }
  close_process(os, handles);
  process_exit_code = exit_code;
}
