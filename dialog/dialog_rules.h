// Small decisions of the progress dialog, kept apart from the window code so
// they can be checked anywhere.
#ifndef DIALOG_DIALOG_RULES_H
#define DIALOG_DIALOG_RULES_H

#include <cstdint>

struct IconOrigin {
  int x;
  int y;
};

// Where the icon goes in a minimised dialog: centred, the halves rounded the
// way a signed division truncates (a 0-wide client with a 32-wide icon gives -15).
IconOrigin minimised_icon_origin(int client_width, int client_height, int icon_width, int icon_height);

// Silent mode (run mode 1) keeps the dialog from ever being shown.
bool should_hide_window(std::int32_t run_mode);

// ESC key-downs are eaten so that ESC never closes the dialog.
bool is_swallowed_key(unsigned message, std::uintptr_t wparam);

#endif  // DIALOG_DIALOG_RULES_H
