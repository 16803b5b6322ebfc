#include "startup/command_line.h"

const char *command_line_tail(const char *full_command_line) {
  if (full_command_line == nullptr) return "";
  const unsigned char *p = reinterpret_cast<const unsigned char *>(full_command_line);
  if (*p == '"') {
    // A quoted name may hold blanks; it runs to the closing quote.
    ++p;
    while (*p != '\0' && *p != '"') ++p;
    if (*p == '"') ++p;
  } else {
    while (*p > ' ') ++p;
  }
  while (*p != '\0' && *p <= ' ') ++p;
  return reinterpret_cast<const char *>(p);
}
