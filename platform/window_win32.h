// The base of our window objects: a window handle and the hook through which
// the application offers messages before they are dispatched.
#ifndef PLATFORM_WINDOW_WIN32_H
#define PLATFORM_WINDOW_WIN32_H

#include <windows.h>

class CWnd {
 public:
  CWnd() = default;
  CWnd(const CWnd &) = delete;
  CWnd &operator=(const CWnd &) = delete;
  virtual ~CWnd() = default;

  // Return TRUE when the message has been handled and must be neither
  // translated nor dispatched.
  virtual BOOL PreTranslateMessage(MSG *message);

  HWND GetSafeHwnd() const { return m_hWnd; }

  // The object attached to a window by attach_object, or null.
  static CWnd *FromHandlePermanent(HWND window);

  HWND m_hWnd = nullptr;

 protected:
  // Binds this object to its window so that the application finds it when it
  // offers messages; detach_object undoes it before the window goes.
  void attach_object(HWND window);
  void detach_object();
};

#endif  // PLATFORM_WINDOW_WIN32_H
