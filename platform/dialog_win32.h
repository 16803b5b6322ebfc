// A dialog from a template, run modally by our own loop so that every message
// passes the application's pre-translation (the dialog's key filter and
// keyboard navigation) and the application's idle processing.
#ifndef PLATFORM_DIALOG_WIN32_H
#define PLATFORM_DIALOG_WIN32_H

#include <windows.h>

#include "platform/window_win32.h"

class CDialog : public CWnd {
 public:
  CDialog(UINT template_id, CWnd *parent);

  // Creates the dialog, runs its loop until EndDialog and returns the result
  // given to EndDialog, or -1 when the dialog could not be created.
  INT_PTR DoModal();
  // Ends the modal loop once the current message has been handled.
  void EndDialog(int result);
  // Data exchange: FALSE fills the controls, TRUE reads them back.
  BOOL UpdateData(BOOL save_and_validate = TRUE);

  // Keyboard navigation for the dialog's own messages.
  BOOL PreTranslateMessage(MSG *message) override;

 protected:
  // Data exchange, then centring. TRUE gives the focus to the first tab stop.
  virtual BOOL OnInitDialog();
  virtual void DoDataExchange(BOOL) {}
  virtual void OnOK();
  virtual void OnCancel();

  // The message map: return true when handled, with the result in `result`;
  // false leaves the message to default processing.
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT &result);

  // Attaches a control wrapper to the dialog's control of that id.
  template <class Control>
  void bind_control(int id, Control &control) {
    control.attach(GetDlgItem(m_hWnd, id));
  }

 private:
  static INT_PTR CALLBACK dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void center_window();
  void run_modal_loop();

  UINT template_id_;
  CWnd *parent_;
  bool in_modal_loop_ = false;
  INT_PTR modal_result_ = -1;
};

#endif  // PLATFORM_DIALOG_WIN32_H
