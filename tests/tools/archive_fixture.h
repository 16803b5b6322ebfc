// Archives and installers made in memory for twpack's tests, on top of the
// shared test-side writer: entries with correct (or deliberately wrong) CRCs,
// any names, and a fake installer stub around an archive.
#ifndef TESTS_TOOLS_ARCHIVE_FIXTURE_H
#define TESTS_TOOLS_ARCHIVE_FIXTURE_H

#include <cstdint>
#include <string>
#include <vector>

namespace fixture {

struct Entry {
  std::string name;
  std::string data;
  bool wrong_crc = false;  // the header's CRC does not match the data
  int method = 0;          // 0 stored, 1 packed
};

// Main header, one entry per element, end marker.
std::string make_archive(const std::vector<Entry> &entries);

// A tiny "MZ" image of `stub_size` bytes with the archive appended and the
// descriptor filled in as the builder writes it.
std::string make_installer(const std::string &archive, std::int8_t run_mode = 0, std::size_t stub_size = 512);

// The time stamp every fixture entry carries: 2024-05-17 13:45:30.
constexpr std::uint32_t kFixtureTime = (44u << 25) | (5u << 21) | (17u << 16) | (13u << 11) | (45u << 5) | 15u;

}  // namespace fixture

#endif  // TESTS_TOOLS_ARCHIVE_FIXTURE_H
