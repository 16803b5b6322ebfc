#include "platform/app_win32.h"

namespace {
CWinApp *the_app = nullptr;
}  // namespace

CWinApp *AfxGetApp() { return the_app; }

CWinApp::CWinApp() { the_app = this; }

BOOL CWinApp::PreTranslateMessage(MSG *message) {
  const HWND main_window = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
  for (HWND window = message->hwnd; window; window = GetParent(window)) {
    CWnd *object = CWnd::FromHandlePermanent(window);
    if (object && object->PreTranslateMessage(message)) return TRUE;
    if (window == main_window) return FALSE;
  }
  // Thread messages and messages for windows outside the main window's
  // family still get the main window's filter.
  if (m_pMainWnd && message->hwnd != main_window && !(message->hwnd && IsChild(main_window, message->hwnd)))
    return m_pMainWnd->PreTranslateMessage(message);
  return FALSE;
}

BOOL CWinApp::OnIdle(LONG) { return FALSE; }

int CWinApp::enter(HINSTANCE instance, const char *command_line, int show_command) {
  // No critical-error or missing-disk boxes from the system: our own boxes say what failed.
  SetErrorMode(SetErrorMode(0) | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  m_hInstance = instance;
  m_lpCmdLine = command_line ? command_line : "";
  m_nCmdShow = show_command;
  InitInstance();
  return 0;
}
