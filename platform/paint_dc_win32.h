// A painting session: BeginPaint on construction, EndPaint when it goes.
#ifndef PLATFORM_PAINT_DC_WIN32_H
#define PLATFORM_PAINT_DC_WIN32_H

#include <windows.h>

class CPaintDC {
 public:
  explicit CPaintDC(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~CPaintDC() { EndPaint(window_, &paint_); }
  CPaintDC(const CPaintDC &) = delete;
  CPaintDC &operator=(const CPaintDC &) = delete;

  HDC GetSafeHdc() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_;
  HDC dc_;
};

#endif  // PLATFORM_PAINT_DC_WIN32_H
