// Finding the first header block, and reading header blocks whose strings or
// sizes sit at the edges.
#include <gtest/gtest.h>

#include <cstring>

#include "arj/archive_reader.h"
#include "arj/engine_state.h"
#include "tests/arj/engine_test_util.h"

namespace {

using namespace twtest;

const Bytes kData = to_bytes("the entry's data\n");

Bytes one_entry_archive() { return archive({stored_entry("DATA.TXT", kData)}); }

Bytes prefixed(const Bytes &prefix, const Bytes &rest) {
  Bytes out = prefix;
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

struct ScanCase {
  const char *label;
  Bytes prefix;  // bytes before the archive
  int count;
};

class HeaderScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(HeaderScan, FindsTheArchiveBehindLeadingBytes) {
  const ScanCase &c = GetParam();
  const ArchiveOnDisk disk(prefixed(c.prefix, one_entry_archive()));
  EXPECT_EQ(disk.count(), c.count);
  if (c.count == 1) {
    const Extraction x = disk.extract(1);
    EXPECT_EQ(x.result, 0);
    EXPECT_EQ(x.data, kData);
  }
}

Bytes filler(std::size_t n) { return Bytes(n, 'M'); }

INSTANTIATE_TEST_SUITE_P(
    Prefixes, HeaderScan,
    ::testing::Values(ScanCase{"None", {}, 1}, ScanCase{"Stub", filler(1000), 1},
                      // A 0x60 right before the marker: found at the second one.
                      ScanCase{"DoubledFirstMarkerByte", {0x60}, 1},
                      // Candidates that fail their size or CRC test are passed over.
                      ScanCase{"FalseMarkerWithSizeAbove2600", {0x60, 0xEA, 0x29, 0x0A, 'x'}, 1},
                      ScanCase{"FalseMarkerWithBadCrc", {0x60, 0xEA, 0x02, 0x00, 'a', 'b', 1, 2, 3, 4}, 1},
                      ScanCase{"StartsJustBelowTheLimit", filler(499999), 1},
                      ScanCase{"StartsAtTheLimit", filler(500000), 111}),
    [](const ::testing::TestParamInfo<ScanCase> &p) { return std::string(p.param.label); });

// Walk over the entries and keep what the visitor saw.
struct Seen : arj::EntryVisitor {
  std::vector<arj::EntryInfo> entries;
  bool on_entry(const arj::EntryInfo &info, arj::EntryAction &) override {
    entries.push_back(info);
    return true;
  }
  void on_entry_done(const arj::EntryInfo &, int) override {}
};

Seen walk(const Bytes &archive_bytes, int expected_result = 0) {
  const ArchiveOnDisk disk(archive_bytes);
  Seen seen;
  EXPECT_EQ(arj::walk_archive(disk.path().c_str(), 0, seen, nullptr), expected_result);
  return seen;
}

TEST(HeaderRead, BasicSizeOf2600IsReadAnd2601IsNot) {
  HeaderFields h = stored_entry("BIG.TXT", kData).header;
  h.comment = std::string(2600 - basic_header(h).size(), 'c');
  ASSERT_EQ(basic_header(h).size(), 2600u);
  Entry e{h, kData};
  const ArchiveOnDisk disk(archive({e}));
  EXPECT_EQ(disk.count(), 1);
  EXPECT_EQ(disk.extract(1).data, kData);

  // The same header grown by one byte is refused by the reader and passed
  // over by the scan.
  h.comment += 'c';
  Bytes too_big = header_block(h);
  EXPECT_EQ(ArchiveOnDisk(archive({Entry{h, kData}})).count(), 0);
  EXPECT_EQ(ArchiveOnDisk(too_big).count(), 111);
}

// Names and comments longer than the engine keeps; name_offset in and out of
// range; names that need their top bit cleared.
TEST(HeaderRead, LongNameIsCutAndTheCommentFollowsTheFullName) {
  HeaderFields h = stored_entry("", kData).header;
  h.name = std::string(600, 'n');
  h.comment = "the comment";
  const Seen seen = walk(archive({Entry{h, kData}}));
  ASSERT_EQ(seen.entries.size(), 1u);
  EXPECT_EQ(seen.entries[0].stored_name, std::string(511, 'n'));
  EXPECT_EQ(seen.entries[0].name, std::string(255, 'n'));
  EXPECT_STREQ(arj::engine().entry_comment, "the comment");

  const Extraction x = ArchiveOnDisk(archive({Entry{h, kData}})).extract(1);
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.name, std::string(255, 'n'));
}

struct NameCase {
  const char *label;
  std::string stored;
  std::uint16_t name_offset;
  std::uint8_t origin_os;
  std::string handed_back;
};

class NameHandedBack : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameHandedBack, ByBothEntryPointsAndTheWalk) {
  const NameCase &c = GetParam();
  Entry e = stored_entry(c.stored, kData);
  e.header.name_offset = c.name_offset;
  e.header.origin_os = c.origin_os;
  const ArchiveOnDisk disk(archive({e}));
  const Extraction x = disk.extract(1);
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.name, c.handed_back);
  const Seen seen = walk(archive({e}));
  ASSERT_EQ(seen.entries.size(), 1u);
  EXPECT_EQ(seen.entries[0].name, c.handed_back);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameHandedBack,
    ::testing::Values(NameCase{"Plain", "SETUP.EXE", 0, 0, "SETUP.EXE"},
                      NameCase{"SlashKept", "dir/sub/file.txt", 0, 0, "dir/sub/file.txt"},
                      NameCase{"OffsetSkipsThePath", "dir/file.txt", 4, 0, "file.txt"},
                      NameCase{"OffsetAtTheEnd", "file.txt", 8, 0, ""},
                      NameCase{"OffsetPastTheEnd", "file.txt", 9, 0, ""},
                      NameCase{"OffsetWithTopBitSet", "file.txt", 0x8000, 0, ""},
                      NameCase{"TopBitClearedFromDos", "caf\xE9.txt", 0, 0, "cafi.txt"},
                      NameCase{"TopBitKeptFromUnix", "caf\xE9.txt", 0, 2, "caf\xE9.txt"}),
    [](const ::testing::TestParamInfo<NameCase> &p) { return std::string(p.param.label); });

// Strings are read from the header's own bytes only.
TEST(HeaderRead, StringsStayInsideTheHeader) {
  Bytes basic = basic_header(stored_entry("X", kData).header);
  basic.resize(30);
  const std::string unterminated = "NAME_WITHOUT_NUL";
  basic.insert(basic.end(), unterminated.begin(), unterminated.end());
  Seen seen = walk(prefixed(header_block(basic_header(HeaderFields{})), prefixed(header_block(basic),
                                                                                 prefixed(kData, end_marker()))));
  ASSERT_EQ(seen.entries.size(), 1u);
  EXPECT_EQ(seen.entries[0].stored_name, unterminated);
  EXPECT_STREQ(arj::engine().entry_comment, "");

  // first_size beyond the header: no name at all.
  basic[0] = 200;
  seen = walk(prefixed(header_block(basic_header(HeaderFields{})),
                       prefixed(header_block(basic), prefixed(kData, end_marker()))));
  ASSERT_EQ(seen.entries.size(), 1u);
  EXPECT_EQ(seen.entries[0].stored_name, "");
}

// A header shorter than its fixed fields reads zeros for the missing ones,
// never the fields of the header before it.
TEST(HeaderRead, ShortHeaderDoesNotInheritEarlierFields) {
  Entry first = stored_entry("FIRST", kData);
  first.header.access_mode = 0x1234;
  Bytes bytes = archive({first});
  bytes.resize(bytes.size() - 4);
  const Bytes shorty = header_block(Bytes{30, 6, 1, 0, 0x10, 0, 0, 0});
  bytes.insert(bytes.end(), shorty.begin(), shorty.end());
  const Bytes end = end_marker();
  bytes.insert(bytes.end(), end.begin(), end.end());
  const Seen seen = walk(bytes);
  ASSERT_EQ(seen.entries.size(), 2u);
  EXPECT_EQ(seen.entries[1].access_mode, 0);
  EXPECT_EQ(seen.entries[1].packed_size, 0u);
  EXPECT_EQ(seen.entries[1].data_crc, 0u);
}

TEST(HeaderRead, ExtendedHeadersAreSkipped) {
  const Entry e = stored_entry("EXT.TXT", kData);
  Bytes bytes = header_block(basic_header(HeaderFields{}), {to_bytes("main ext")});
  const Bytes h = header_block(basic_header(e.header), {to_bytes("one"), Bytes(300, 7)});
  bytes.insert(bytes.end(), h.begin(), h.end());
  bytes.insert(bytes.end(), kData.begin(), kData.end());
  const Bytes end = end_marker();
  bytes.insert(bytes.end(), end.begin(), end.end());
  const ArchiveOnDisk disk(bytes);
  EXPECT_EQ(disk.count(), 1);
  const Extraction x = disk.extract(1);
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, kData);
}

// A packed size with its top bit set must not send the walk backwards over
// headers it has read (which would count for ever).
TEST(HeaderRead, HugePackedSizeEndsTheWalk) {
  Entry e = stored_entry("A", kData);
  e.header.packed_size = 0xFFFFFFF0u;
  const ArchiveOnDisk disk(archive({e, stored_entry("B", kData)}));
  EXPECT_EQ(disk.count(), 1);
  EXPECT_EQ(disk.extract(2).result, 1);
}

}  // namespace
