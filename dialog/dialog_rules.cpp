#include "dialog/dialog_rules.h"

namespace {

constexpr unsigned kKeyDown = 0x0100;
constexpr std::uintptr_t kEscapeKey = 0x1B;
constexpr std::int32_t kSilentMode = 1;

}  // namespace

IconOrigin minimised_icon_origin(int client_width, int client_height, int icon_width, int icon_height) {
  return IconOrigin{(client_width - icon_width + 1) / 2, (client_height - icon_height + 1) / 2};
}

bool should_hide_window(std::int32_t run_mode) { return run_mode == kSilentMode; }

bool is_swallowed_key(unsigned message, std::uintptr_t wparam) {
  return message == kKeyDown && wparam == kEscapeKey;
}
