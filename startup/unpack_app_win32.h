// The installer's application object. Its start-up hook runs the whole
// installer front end and ends the process; it never returns.
#ifndef STARTUP_UNPACK_APP_WIN32_H
#define STARTUP_UNPACK_APP_WIN32_H

#include <cstdint>

#include "platform/app_win32.h"
#include "startup/startup_sequence.h"

// StartupState gives the members instance_mutex and staging_path.
class CUnpackApp : public CWinApp, public StartupState, private DialogLauncher {
 public:
  CUnpackApp() = default;

  BOOL InitInstance() override;

  // 1 when another installer runs (or the guard could not be made), else 0.
  int is_already_running();

 private:
  void run_dialog(const char *staging_folder, std::int32_t run_mode) override;
};

#endif  // STARTUP_UNPACK_APP_WIN32_H
