// The application object: one per process, made as a static object. The
// process entry fills it in and calls its start-up hook; dialogs use its
// message pre-translation and idle processing in their own loops.
#ifndef PLATFORM_APP_WIN32_H
#define PLATFORM_APP_WIN32_H

#include <windows.h>

#include "platform/window_win32.h"

class CWinApp {
 public:
  CWinApp();
  CWinApp(const CWinApp &) = delete;
  CWinApp &operator=(const CWinApp &) = delete;

  // The start-up hook. An application that does all its work here ends the
  // process itself; one that returns gets the process ended with 0.
  virtual BOOL InitInstance() { return FALSE; }

  // Offers the message to the window it is addressed to and to its parents,
  // up to the main window. TRUE means one of them consumed it.
  virtual BOOL PreTranslateMessage(MSG *message);

  // Work for an empty queue; TRUE asks to be called again with count + 1.
  virtual BOOL OnIdle(LONG count);

  // The process entry's part: error mode, the stored start values, the hook.
  int enter(HINSTANCE instance, const char *command_line, int show_command);

  HINSTANCE m_hInstance = nullptr;
  const char *m_lpCmdLine = "";  // the command line less the program name
  int m_nCmdShow = SW_SHOWNORMAL;
  CWnd *m_pMainWnd = nullptr;

 protected:
  // The application object is static and lives until the process ends: a
  // plain destructor registers no exit handler, which the stub has none of.
  ~CWinApp() = default;
};

// The single application object of the process.
CWinApp *AfxGetApp();

#endif  // PLATFORM_APP_WIN32_H
