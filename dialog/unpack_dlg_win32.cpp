#include "dialog/unpack_dlg_win32.h"

#include "dialog/dialog_rules.h"
#include "platform/app_win32.h"
#include "platform/paint_dc_win32.h"
#include "platform/path_text.h"

CUnpackDlg::CUnpackDlg(CWnd *parent) : CDialog(kUnpackDialogTemplate, parent) {
  icon = LoadIconA(AfxGetApp()->m_hInstance, MAKEINTRESOURCEA(kProductIcon));
}

void CUnpackDlg::set_folders(const char *archive, const char *output) {
  if (!platform::path_copy(archive_folder, archive)) archive_folder[0] = '\0';
  if (!platform::path_copy(output_folder, output)) output_folder[0] = '\0';
}

void CUnpackDlg::set_run_mode(std::int32_t mode) { run_mode = mode; }

void CUnpackDlg::DoDataExchange(BOOL) { bind_control(kProgressControl, progress); }

BOOL CUnpackDlg::PreTranslateMessage(MSG *message) {
  // ESC never closes the installer's dialog; Cancel still does.
  if (is_swallowed_key(message->message, message->wParam)) return TRUE;
  return CDialog::PreTranslateMessage(message);
}

BOOL CUnpackDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SetTimer(m_hWnd, kExtractTimerId, kExtractTimerPeriodMs, nullptr);
  return TRUE;
}

bool CUnpackDlg::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT &result) {
  switch (message) {
    case WM_PAINT:
      if (!IsIconic(m_hWnd)) return false;
      on_paint();
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<LRESULT>(icon);
      return true;
    case WM_WINDOWPOSCHANGING:
      // Silent mode: no way of showing the dialog gets through, not even the
      // template's own WS_VISIBLE at creation.
      if (should_hide_window(run_mode)) reinterpret_cast<WINDOWPOS *>(lparam)->flags &= ~SWP_SHOWWINDOW;
      return false;
    case WM_TIMER:
      on_extract_timer(platform::system_os(), *this, static_cast<unsigned>(wparam), run_mode, archive_folder,
                       output_folder);
      return false;
    default:
      return false;
  }
}

void CUnpackDlg::on_paint() {
  CPaintDC dc(m_hWnd);
  SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
  RECT client;
  GetClientRect(m_hWnd, &client);
  const IconOrigin origin = minimised_icon_origin(client.right - client.left, client.bottom - client.top,
                                                  GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  DrawIcon(dc.GetSafeHdc(), origin.x, origin.y, icon);
}

void CUnpackDlg::pump_messages() {
  CWinApp *app = AfxGetApp();
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    // A WM_QUIT goes the same way as any other message: it does not stop the run.
    if (!app->PreTranslateMessage(&message)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
  app->OnIdle(0);
  app->OnIdle(1);
}

void CUnpackDlg::kill_timer(unsigned id) { KillTimer(m_hWnd, id); }

void CUnpackDlg::set_progress_range(int upper) { progress.SetRange(0, static_cast<short>(upper)); }

void CUnpackDlg::set_progress_step(int step) { progress.SetStep(step); }

void CUnpackDlg::step_progress() { progress.StepIt(); }

void CUnpackDlg::hide() { ShowWindow(m_hWnd, SW_HIDE); }

void CUnpackDlg::end_dialog(int result) { EndDialog(result); }
