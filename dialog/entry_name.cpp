#include "dialog/entry_name.h"

namespace {

bool is_separator(char c) { return c == '\\' || c == '/'; }

// Windows drops trailing dots and blanks from a path component, so any
// component made of dots and blanks with two dots or more climbs up.
bool climbs_up(const char *begin, const char *end) {
  int dots = 0;
  for (const char *p = begin; p != end; ++p) {
    if (*p == '.') {
      ++dots;
    } else if (*p != ' ') {
      return false;
    }
  }
  return dots >= 2;
}

}  // namespace

bool is_contained_entry_name(const char *name) {
  if (name == nullptr || is_separator(name[0])) return false;
  const char *component = name;
  for (const char *p = name;; ++p) {
    if (*p == ':') return false;
    if (*p == '\0' || is_separator(*p)) {
      if (climbs_up(component, p)) return false;
      if (*p == '\0') return true;
      component = p + 1;
    }
  }
}
