// How the tool shows an entry's fields and results.
#ifndef TOOLS_ENTRY_FORMAT_H
#define TOOLS_ENTRY_FORMAT_H

#include <cstdint>
#include <string>

namespace twpack {

// "stored", "1" ... "4", or "?N" for a method the engine does not know.
std::string method_text(int pack_method);

// A DOS date and time as "YYYY-MM-DD HH:MM:SS".
std::string dos_time_text(std::uint32_t dos_time);

// Packed size as a share of the original size, "45.9%"; "-" for an empty entry.
std::string ratio_text(std::uint64_t packed, std::uint64_t original);

// A name as it may be printed: control characters, which a damaged or
// hostile archive could use to rewrite the terminal, become '?'.
std::string printable_name(const std::string &name);

// The engine's description of a result with its code, "... (106)".
std::string result_description(int code);

}  // namespace twpack

#endif  // TOOLS_ENTRY_FORMAT_H
