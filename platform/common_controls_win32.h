// The common controls the dialogs use (the progress bar).
#ifndef PLATFORM_COMMON_CONTROLS_WIN32_H
#define PLATFORM_COMMON_CONTROLS_WIN32_H

// Loads the common controls from the system folder and registers the
// progress-bar class. Returns false when they are not available.
bool init_progress_control();

#endif  // PLATFORM_COMMON_CONTROLS_WIN32_H
