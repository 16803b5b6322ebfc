#include "tools/entry_format.h"

#include <cstdio>

#include "arj/result_code.h"

namespace twpack {

std::string method_text(int pack_method) {
  if (pack_method == 0) return "stored";
  if (pack_method >= 1 && pack_method <= 4) return std::to_string(pack_method);
  return "?" + std::to_string(pack_method);
}

std::string dos_time_text(std::uint32_t dos_time) {
  const unsigned date = dos_time >> 16;
  const unsigned time = dos_time & 0xFFFFu;
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", 1980 + (date >> 9),
                (date >> 5) & 15u, date & 31u, time >> 11, (time >> 5) & 63u, (time & 31u) * 2);
  return text;
}

std::string ratio_text(std::uint64_t packed, std::uint64_t original) {
  if (original == 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%",
                100.0 * static_cast<double>(packed) / static_cast<double>(original));
  return text;
}

std::string printable_name(const std::string &name) {
  std::string printable = name;
  for (char &c : printable) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return printable;
}

std::string result_description(int code) {
  const char *text = arj::result_text(code);
  return std::string(text != nullptr ? text : "unknown result") + " (" + std::to_string(code) + ")";
}

}  // namespace twpack
