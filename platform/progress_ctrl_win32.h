// A progress bar control as an object: the messages the extraction run sends it.
#ifndef PLATFORM_PROGRESS_CTRL_WIN32_H
#define PLATFORM_PROGRESS_CTRL_WIN32_H

#include <windows.h>
#include <commctrl.h>

#include "platform/window_win32.h"

class CProgressCtrl : public CWnd {
 public:
  // Attaches to an existing control of a dialog; the dialog owns the window.
  void attach(HWND control) { m_hWnd = control; }

  void SetRange(short lower, short upper) {
    SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
  }
  int SetStep(int step) { return static_cast<int>(SendMessageA(m_hWnd, PBM_SETSTEP, static_cast<WPARAM>(step), 0)); }
  int StepIt() { return static_cast<int>(SendMessageA(m_hWnd, PBM_STEPIT, 0, 0)); }
};

#endif  // PLATFORM_PROGRESS_CTRL_WIN32_H
