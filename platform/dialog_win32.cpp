#include "platform/dialog_win32.h"

#include "platform/app_win32.h"

CDialog::CDialog(UINT template_id, CWnd *parent) : template_id_(template_id), parent_(parent) {}

INT_PTR CDialog::DoModal() {
  CWinApp *app = AfxGetApp();
  const HWND owner = parent_ ? parent_->m_hWnd : nullptr;
  if (owner) EnableWindow(owner, FALSE);
  modal_result_ = -1;
  in_modal_loop_ = true;
  // The template's WS_VISIBLE shows the dialog right after WM_INITDIALOG;
  // everything that shows it passes WM_WINDOWPOSCHANGING first.
  const HWND window = CreateDialogParamA(app->m_hInstance, MAKEINTRESOURCEA(template_id_), owner, dialog_proc,
                                         reinterpret_cast<LPARAM>(this));
  if (!window) {
    in_modal_loop_ = false;
  } else {
    run_modal_loop();
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  }
  if (owner) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (window) DestroyWindow(window);
  return modal_result_;
}

void CDialog::run_modal_loop() {
  CWinApp *app = AfxGetApp();
  MSG message;
  LONG idle_count = 0;
  bool idle = true;
  while (in_modal_loop_) {
    while (idle && !PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!app->OnIdle(idle_count++)) idle = false;
    }
    if (!GetMessageA(&message, nullptr, 0, 0)) {
      // Leave the quit request for the loop that owns the thread.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (!app->PreTranslateMessage(&message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
    idle = true;
    idle_count = 0;
  }
}

void CDialog::EndDialog(int result) {
  modal_result_ = result;
  in_modal_loop_ = false;
  // As the system's own end of a dialog: gone from the screen at once, the
  // window itself goes when the loop has returned.
  if (m_hWnd) ShowWindow(m_hWnd, SW_HIDE);
}

BOOL CDialog::UpdateData(BOOL save_and_validate) {
  DoDataExchange(save_and_validate);
  return TRUE;
}

BOOL CDialog::PreTranslateMessage(MSG *message) {
  // Only keyboard and mouse input for this dialog and its controls.
  if (message->message < WM_KEYFIRST || message->message > WM_MOUSELAST) return FALSE;
  if (message->message > WM_KEYLAST && message->message < WM_MOUSEFIRST) return FALSE;
  return IsDialogMessageA(m_hWnd, message);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  center_window();
  return TRUE;
}

void CDialog::OnOK() {
  if (UpdateData(TRUE)) EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT &) { return false; }

void CDialog::center_window() {
  RECT dialog;
  RECT area;
  GetWindowRect(m_hWnd, &dialog);
  if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0)) {
    area.left = 0;
    area.top = 0;
    area.right = GetSystemMetrics(SM_CXSCREEN);
    area.bottom = GetSystemMetrics(SM_CYSCREEN);
  }
  const int x = area.left + ((area.right - area.left) - (dialog.right - dialog.left)) / 2;
  const int y = area.top + ((area.bottom - area.top) - (dialog.bottom - dialog.top)) / 2;
  SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK CDialog::dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  CDialog *dialog;
  if (message == WM_INITDIALOG) {
    dialog = reinterpret_cast<CDialog *>(lparam);
    dialog->attach_object(window);
    return dialog->OnInitDialog();
  }
  dialog = static_cast<CDialog *>(CWnd::FromHandlePermanent(window));
  // Messages before WM_INITDIALOG (font, creation) and after the object let go.
  if (!dialog) return FALSE;
  if (message == WM_NCDESTROY) {
    dialog->detach_object();
    return FALSE;
  }

  LRESULT result = 0;
  if (dialog->OnMessage(message, wparam, lparam, result)) {
    switch (message) {
      // These answer through the procedure's own result.
      case WM_QUERYDRAGICON:
      case WM_CTLCOLORMSGBOX:
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORLISTBOX:
      case WM_CTLCOLORBTN:
      case WM_CTLCOLORDLG:
      case WM_CTLCOLORSCROLLBAR:
      case WM_CTLCOLORSTATIC:
      case WM_COMPAREITEM:
      case WM_VKEYTOITEM:
      case WM_CHARTOITEM:
      case WM_INITDIALOG:
        return static_cast<INT_PTR>(result);
      default:
        SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
        return TRUE;
    }
  }
  if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED) {
    // The default routes of a dialog: OK and Cancel end it.
    if (LOWORD(wparam) == IDOK) {
      dialog->OnOK();
      return TRUE;
    }
    if (LOWORD(wparam) == IDCANCEL) {
      dialog->OnCancel();
      return TRUE;
    }
  }
  return FALSE;
}
