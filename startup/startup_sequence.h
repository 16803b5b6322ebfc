// The installer's start-up: every step from the single-instance guard to the
// hand-off to the progress dialog, in a fixed order.
#ifndef STARTUP_STARTUP_SEQUENCE_H
#define STARTUP_STARTUP_SEQUENCE_H

#include <cstdint>

#include "platform/os.h"

// Runs the progress dialog modally over the staging folder (which ends with
// one backslash; it serves as archive folder and as output folder) and
// returns when the dialog has ended.
class DialogLauncher {
 public:
  virtual void run_dialog(const char *staging_folder, std::int32_t run_mode) = 0;

 protected:
  ~DialogLauncher() = default;
};

// What the application object keeps from the start-up.
struct StartupState {
  platform::Handle instance_mutex = nullptr;  // held until the process ends
  char staging_path[platform::kMaxPath] = {};  // staging folder without its trailing backslash
};

// Performs the start-up and returns the code the process must exit with: a
// failing step's code once its message box has been closed, otherwise
// process_exit_code as the dialog left it.
std::uint32_t run_startup(platform::Os &os, const char *command_line_tail, DialogLauncher &launcher,
                          StartupState &state);
std::uint32_t run_startup(platform::Os &os, const char *command_line_tail, DialogLauncher &launcher);

// Operating-system codes for the guard's choice of mutex name.
constexpr int kOsOther = 1000;
constexpr int kOsNt4 = 1004;
constexpr int kOsNt5 = 1005;

int classify_os(platform::Os &os);

// 1 when another installer runs (or the mutex could not be made), 0 when this
// process now holds the guard in instance_mutex.
int is_already_running(platform::Os &os, platform::Handle &instance_mutex);

#endif  // STARTUP_STARTUP_SEQUENCE_H
