#include "platform/window_win32.h"

namespace {
// The property that carries a window's object; an atom-free string keeps it simple.
constexpr char kObjectProperty[] = "TwWindowObject";
}  // namespace

BOOL CWnd::PreTranslateMessage(MSG *) { return FALSE; }

CWnd *CWnd::FromHandlePermanent(HWND window) {
  return window ? static_cast<CWnd *>(GetPropA(window, kObjectProperty)) : nullptr;
}

void CWnd::attach_object(HWND window) {
  m_hWnd = window;
  SetPropA(window, kObjectProperty, this);
}

void CWnd::detach_object() {
  if (m_hWnd) RemovePropA(m_hWnd, kObjectProperty);
  m_hWnd = nullptr;
}
