// Bounded string building for the fixed path buffers. Each call either does
// the whole job or leaves the buffer as it was and returns false: nothing is
// ever written past a buffer's end.
#ifndef PLATFORM_PATH_TEXT_H
#define PLATFORM_PATH_TEXT_H

#include <cstddef>
#include <cstring>

namespace platform {

inline bool path_copy(char *buffer, std::size_t size, const char *text) {
  const std::size_t length = std::strlen(text);
  if (length >= size) return false;
  std::memcpy(buffer, text, length + 1);
  return true;
}

inline bool path_append(char *buffer, std::size_t size, const char *text) {
  const std::size_t used = std::strlen(buffer);
  const std::size_t length = std::strlen(text);
  if (used + length >= size) return false;
  std::memcpy(buffer + used, text, length + 1);
  return true;
}

template <std::size_t N>
bool path_copy(char (&buffer)[N], const char *text) {
  return path_copy(buffer, N, text);
}

template <std::size_t N>
bool path_append(char (&buffer)[N], const char *text) {
  return path_append(buffer, N, text);
}

// buffer = folder + name, or false (buffer emptied) when it does not fit.
template <std::size_t N>
bool path_join(char (&buffer)[N], const char *folder, const char *name) {
  buffer[0] = '\0';
  if (path_copy(buffer, folder) && path_append(buffer, name)) return true;
  buffer[0] = '\0';
  return false;
}

}  // namespace platform

#endif  // PLATFORM_PATH_TEXT_H
