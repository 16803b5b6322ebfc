#include "startup/unpack_app_win32.h"

#include <windows.h>

#include <cstdint>

#include "dialog/unpack_dlg_win32.h"
#include "platform/common_controls_win32.h"
#include "startup/command_line.h"

namespace {
// The one application object of the process.
CUnpackApp the_unpack_app;
}  // namespace

BOOL CUnpackApp::InitInstance() {
  // The progress bar's class, in place of the dialog services of old.
  init_progress_control();
  ExitProcess(run_startup(platform::system_os(), m_lpCmdLine, *this, *this));
}

int CUnpackApp::is_already_running() { return ::is_already_running(platform::system_os(), instance_mutex); }

void CUnpackApp::run_dialog(const char *staging_folder, std::int32_t run_mode) {
  CUnpackDlg dialog;
  m_pMainWnd = &dialog;
  dialog.set_folders(staging_folder, staging_folder);
  dialog.set_run_mode(run_mode);
  dialog.DoModal();
  m_pMainWnd = nullptr;
}

// The stub starts here, not in the C runtime's start-up: that one brings
// argument parsing, TLS and relocation support the stub has no use for, and
// several KiB with them. The C runtime DLL initialises itself on loading.
namespace {

extern "C" void (*__CTOR_LIST__[])();

// What the runtime's start-up would do for our static objects: the constructor
// list, which the linker fills, run from its end to its start.
void run_static_constructors() {
  std::uintptr_t count = reinterpret_cast<std::uintptr_t>(__CTOR_LIST__[0]);
  if (count == static_cast<std::uintptr_t>(-1)) {
    count = 0;
    while (__CTOR_LIST__[count + 1]) ++count;
  }
  for (; count > 0; --count) __CTOR_LIST__[count]();
}

}  // namespace

extern "C" __attribute__((force_align_arg_pointer, noreturn)) void tw_entry() {
  run_static_constructors();
  // Before anything can load a library: from the system folder only.
  platform::system_os().restrict_library_search();
  STARTUPINFOA startup;
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int show_command = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  the_unpack_app.enter(GetModuleHandleA(nullptr), command_line_tail(GetCommandLineA()), show_command);
  ExitProcess(0);
}
