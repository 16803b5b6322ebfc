// Hands the installation over to the setup program in the staging folder.
#ifndef DIALOG_SETUP_LAUNCH_H
#define DIALOG_SETUP_LAUNCH_H

#include <cstdint>

#include "platform/os.h"

// The code the installer process ends with once the dialog has closed: the
// setup program's exit code in silent mode, otherwise 0. Only launch_setup
// writes it.
extern std::uint32_t process_exit_code;

// Starts folder + "inst.exe" with " /SILENT" (run mode 1, waited for, its exit
// code kept) or " /STANDARD" (any other mode, not waited for). Failures are
// silent and leave process_exit_code alone.
void launch_setup(platform::Os &os, std::int32_t run_mode, const char *folder);

#endif  // DIALOG_SETUP_LAUNCH_H
