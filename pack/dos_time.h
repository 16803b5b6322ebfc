// DOS date and time, as entry headers carry them: the year from 1980 in bits
// 25 to 31, month, day, hour, minute and seconds / 2 below it, local time.
#ifndef PACK_DOS_TIME_H
#define PACK_DOS_TIME_H

#include <cstdint>
#include <ctime>

namespace pack {

// Times before 1980 become 1 January 1980; after 2107, the end of 2107.
std::uint32_t dos_time_from_unix(std::time_t t);

}  // namespace pack

#endif  // PACK_DOS_TIME_H
