// The installer's progress dialog: template 102, the product icon, a progress
// bar and Cancel. Its timer's first tick runs the whole extraction run.
#ifndef DIALOG_UNPACK_DLG_WIN32_H
#define DIALOG_UNPACK_DLG_WIN32_H

#include <windows.h>

#include <cstdint>

#include "dialog/extraction_run.h"
#include "platform/dialog_win32.h"
#include "platform/os.h"
#include "platform/progress_ctrl_win32.h"

// Ids shared with resources/unpack.rc.
constexpr UINT kUnpackDialogTemplate = 102;
constexpr UINT kProductIcon = 128;
constexpr int kProgressControl = 1001;

class CUnpackDlg : public CDialog, private DialogOps {
 public:
  explicit CUnpackDlg(CWnd *parent = nullptr);
  ~CUnpackDlg() override = default;

  // Both folders end with one backslash; longer than a member holds is refused (left empty).
  void set_folders(const char *archive, const char *output);
  void set_run_mode(std::int32_t mode);

  // Empties the message queue through the application's pre-translation, then
  // idle processing with counts 0 and 1.
  void pump_messages() override;

  std::int32_t run_mode = 0;
  char output_folder[platform::kMaxPath] = {};
  char archive_folder[platform::kMaxPath] = {};
  CProgressCtrl progress;
  HICON icon = nullptr;

 protected:
  void DoDataExchange(BOOL save_and_validate) override;
  BOOL PreTranslateMessage(MSG *message) override;
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT &result) override;

 private:
  void on_paint();

  // What the extraction run asks of the window.
  void kill_timer(unsigned id) override;
  void set_progress_range(int upper) override;
  void set_progress_step(int step) override;
  void step_progress() override;
  void hide() override;
  void end_dialog(int result) override;
};

#endif  // DIALOG_UNPACK_DLG_WIN32_H
