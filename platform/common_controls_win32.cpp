#include "platform/common_controls_win32.h"

#include <windows.h>
#include <commctrl.h>

namespace {
using InitCommonControlsExFn = BOOL(WINAPI *)(const INITCOMMONCONTROLSEX *);
constexpr char kLibraryName[] = "\\comctl32.dll";
}  // namespace

bool init_progress_control() {
  // Not imported but loaded by full path from the system folder: installers
  // run from download folders, where a planted comctl32.dll may wait, and an
  // import would be resolved before anything of ours runs.
  char path[MAX_PATH + sizeof kLibraryName];
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  lstrcpyA(path + length, kLibraryName);
  HMODULE library = LoadLibraryA(path);
  if (!library) return false;
  FARPROC proc = GetProcAddress(library, "InitCommonControlsEx");
  if (!proc) return false;
  INITCOMMONCONTROLSEX classes;
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_PROGRESS_CLASS;
  // The library stays loaded for the life of the process: its classes are in use.
  return reinterpret_cast<InitCommonControlsExFn>(reinterpret_cast<void (*)()>(proc))(&classes) != FALSE;
}
