// The extraction run: the work the progress dialog does on the first tick of
// its timer. It extracts every entry of the staged archive, stages the
// cleanup tool, hides the dialog, starts the setup program and ends the dialog.
#ifndef DIALOG_EXTRACTION_RUN_H
#define DIALOG_EXTRACTION_RUN_H

#include <cstdint>

#include "dialog/dialog_rules.h"
#include "dialog/setup_launch.h"
#include "platform/os.h"

// The dialog's timer: started by its initialisation, killed on the first tick.
constexpr unsigned kExtractTimerId = 100;
constexpr unsigned kExtractTimerPeriodMs = 100;

// What the run asks of the dialog window it runs in.
class DialogOps {
 public:
  virtual void kill_timer(unsigned id) = 0;
  virtual void set_progress_range(int upper) = 0;  // range 0..upper
  virtual void set_progress_step(int step) = 0;
  virtual void step_progress() = 0;
  virtual void pump_messages() = 0;  // empties the queue, then idle processing twice
  virtual void hide() = 0;
  virtual void end_dialog(int result) = 0;

 protected:
  ~DialogOps() = default;
};

// The archive engine as the run uses it; the default one is our own engine.
class ArchiveEngine {
 public:
  virtual int count_entries(const char *archive_path) = 0;
  virtual int extract_entry(const char *archive_path, int entry_number, const char *output_path,
                            char *name_out) = 0;

 protected:
  ~ArchiveEngine() = default;
};
ArchiveEngine &default_archive_engine();

// The dialog's WM_TIMER handler. Returns true when the message was the run's
// timer (and the whole run has happened); false means default processing only.
bool on_extract_timer(platform::Os &os, DialogOps &dialog, unsigned timer_id, std::int32_t run_mode,
                      const char *archive_folder, const char *output_folder);
bool on_extract_timer(platform::Os &os, ArchiveEngine &engine, DialogOps &dialog, unsigned timer_id,
                      std::int32_t run_mode, const char *archive_folder, const char *output_folder);

// Extracts every entry of archive_folder + "TWDATA.ARJ" into output_folder,
// one progress step per entry, stopping at the first entry that fails.
void extract_all(platform::Os &os, ArchiveEngine &engine, DialogOps &dialog, const char *archive_folder,
                 const char *output_folder);

// Copies folder + "TWDELTMP.EXE" into folder's parent, replacing a copy there.
void stage_cleanup_tool(platform::Os &os, const char *folder);

#endif  // DIALOG_EXTRACTION_RUN_H
