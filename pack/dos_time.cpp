#include "pack/dos_time.h"

namespace pack {

std::uint32_t dos_time_from_unix(std::time_t t) {
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return (1u << 21) | (1u << 16);
  const int year = local.tm_year + 1900;
  if (year < 1980) return (1u << 21) | (1u << 16);
  if (year > 2107) return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
  return (static_cast<std::uint32_t>(year - 1980) << 25) | (static_cast<std::uint32_t>(local.tm_mon + 1) << 21) |
         (static_cast<std::uint32_t>(local.tm_mday) << 16) | (static_cast<std::uint32_t>(local.tm_hour) << 11) |
         (static_cast<std::uint32_t>(local.tm_min) << 5) | static_cast<std::uint32_t>(local.tm_sec / 2);
}

}  // namespace pack
