// The header blocks the writer makes, byte by byte, and the fields of a
// finished archive as the engine's walk reads them back.
#include <gtest/gtest.h>

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "arj/archive_reader.h"
#include "arj/crc32.h"
#include "pack/archive_index.h"
#include "pack/archive_writer.h"
#include "pack/dos_time.h"
#include "tests/support/arj_fixtures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(HeaderBlockTest, FieldsCrcAndFraming) {
  pack::HeaderFields f;
  f.pack_method = 1;
  f.modified_time = 0x5A8B6C3Du;
  f.packed_size = 0x01020304u;
  f.original_size = 0x0A0B0C0Du;
  f.data_crc = 0xDEADBEEFu;
  f.access_mode = 0x20;
  f.name = "INST.EXE";
  const Bytes block = pack::encode_header_block(f);
  const Bytes expected_basic = {
      30,   6,    1,    0,    0x10, 1,    0,    0,                          // first_size .. reserved
      0x3D, 0x6C, 0x8B, 0x5A,                                               // time
      0x04, 0x03, 0x02, 0x01,                                               // packed size
      0x0D, 0x0C, 0x0B, 0x0A,                                               // original size
      0xEF, 0xBE, 0xAD, 0xDE,                                               // data CRC
      0,    0,    0x20, 0,    0,    0,                                      // name offset, mode, host data
      'I',  'N',  'S',  'T',  '.',  'E',  'X',  'E', 0,                     // name
      0};                                                                   // empty comment
  ASSERT_EQ(block.size(), 4 + expected_basic.size() + 4 + 2);
  EXPECT_EQ(block[0], 0x60);
  EXPECT_EQ(block[1], 0xEA);
  EXPECT_EQ(block[2] | (block[3] << 8), static_cast<int>(expected_basic.size()));
  EXPECT_EQ(Bytes(block.begin() + 4, block.begin() + 4 + static_cast<long>(expected_basic.size())), expected_basic);
  const std::uint32_t crc = arj::crc32_of(expected_basic.data(), expected_basic.size());
  const std::size_t at = 4 + expected_basic.size();
  EXPECT_EQ(block[at] | (block[at + 1] << 8) | (block[at + 2] << 16) | (static_cast<std::uint32_t>(block[at + 3]) << 24),
            crc);
  EXPECT_EQ(block[at + 4], 0);  // no extended headers
  EXPECT_EQ(block[at + 5], 0);
  // The test side builds the same bytes from the same fields.
  twtest::HeaderFields t;
  t.pack_method = 1;
  t.modified_time = f.modified_time;
  t.packed_size = f.packed_size;
  t.original_size = f.original_size;
  t.data_crc = f.data_crc;
  t.access_mode = 0x20;
  t.name = "INST.EXE";
  EXPECT_EQ(block, twtest::header_block(t));
}

class RecordingVisitor : public arj::EntryVisitor {
 public:
  bool on_entry(const arj::EntryInfo &info, arj::EntryAction &) override {
    entries.push_back(info);
    return true;
  }
  void on_entry_done(const arj::EntryInfo &, int) override {}
  std::vector<arj::EntryInfo> entries;
};

TEST(ArchiveLayoutTest, MainHeaderEntriesAndEndMarker) {
  pack::MemorySink sink;
  pack::ArchiveWriter writer(sink, "OUT.ARJ", 0x12345678u);
  const Bytes text = twtest::to_bytes(std::string(3000, 'a') + "tail");
  ASSERT_TRUE(writer.add("A.TXT", text.data(), text.size(), 0x5A8B6C3Du, 1, 5));
  ASSERT_TRUE(writer.add("EMPTY", nullptr, 0, 0x5A8B6C3Eu, 1, 5));
  ASSERT_TRUE(writer.finish());
  const Bytes &a = sink.bytes;

  // Main header: content type 2, the archive's name.
  EXPECT_EQ(a[4 + 6], 2);
  EXPECT_EQ(std::string(reinterpret_cast<const char *>(&a[4 + 30])), "OUT.ARJ");
  // The end marker is the last four bytes.
  ASSERT_GE(a.size(), 4u);
  EXPECT_EQ(Bytes(a.end() - 4, a.end()), (Bytes{0x60, 0xEA, 0, 0}));

  twtest::TempDir dir;
  const std::string path = dir.write("OUT.ARJ", a);
  RecordingVisitor visitor;
  ASSERT_EQ(arj::walk_archive(path.c_str(), 0, visitor, nullptr), 0);
  ASSERT_EQ(visitor.entries.size(), 2u);
  const arj::EntryInfo &first = visitor.entries[0];
  EXPECT_EQ(first.name, "A.TXT");
  EXPECT_EQ(first.archiver_version, 6);
  EXPECT_EQ(first.min_version, 1);
  EXPECT_EQ(first.origin_os, 0);
  EXPECT_EQ(first.header_flags, 0x10);
  EXPECT_EQ(first.pack_method, 1);
  EXPECT_EQ(first.content_type, 0);
  EXPECT_EQ(first.modified_time, 0x5A8B6C3Du);
  EXPECT_EQ(first.original_size, text.size());
  EXPECT_LT(first.packed_size, 100u);
  EXPECT_EQ(first.data_crc, arj::crc32_of(text.data(), text.size()));
  const arj::EntryInfo &empty = visitor.entries[1];
  EXPECT_EQ(empty.pack_method, 0);
  EXPECT_EQ(empty.packed_size, 0u);
  EXPECT_EQ(empty.original_size, 0u);
  EXPECT_EQ(empty.data_crc, 0u);

  // Our own strict index reads the same archive.
  std::vector<pack::IndexedEntry> index;
  std::size_t length = 0;
  std::string error;
  ASSERT_TRUE(pack::index_archive(a.data(), a.size(), index, length, error)) << error;
  EXPECT_EQ(length, a.size());
  ASSERT_EQ(index.size(), 2u);
  EXPECT_EQ(index[0].name, "A.TXT");
}

TEST(ArchiveIndexTest, RefusesDamagedArchives) {
  pack::MemorySink sink;
  pack::ArchiveWriter writer(sink, "OUT.ARJ", 0);
  const Bytes data = twtest::to_bytes("hello, hello, hello");
  writer.add("A", data.data(), data.size(), 0);
  writer.finish();
  const Bytes good = sink.bytes;
  struct Damage {
    const char *label;
    Bytes bytes;
  };
  Bytes bad_crc = good;
  bad_crc[4 + 10] ^= 1;  // inside the main header
  Bytes truncated(good.begin(), good.end() - 5);
  Bytes no_marker = good;
  no_marker[0] = 0x61;
  const Damage cases[] = {{"crc", bad_crc}, {"truncated", truncated}, {"marker", no_marker}, {"empty", {}}};
  for (const Damage &d : cases) {
    std::vector<pack::IndexedEntry> index;
    std::size_t length = 0;
    std::string error;
    EXPECT_FALSE(pack::index_archive(d.bytes.data(), d.bytes.size(), index, length, error)) << d.label;
    EXPECT_FALSE(error.empty()) << d.label;
  }
}

TEST(EntryNameTest, PlainPrintableNamesOnly) {
  EXPECT_EQ(pack::entry_name_problem("setup.exe"), "");
  EXPECT_EQ(pack::entry_name_problem("a long name with spaces.txt"), "");
  EXPECT_EQ(pack::entry_name_problem(std::string(511, 'x')), "");
  for (const std::string &bad : {std::string(""), std::string("."), std::string(".."), std::string("dir/file"),
                                std::string("dir\\file"), std::string("c:file"), std::string("caf\xC3\xA9"),
                                std::string("tab\there"), std::string(512, 'x')}) {
    EXPECT_NE(pack::entry_name_problem(bad), "") << bad;
  }
}

TEST(DosTimeTest, LocalTimeFields) {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 6;  // July
  t.tm_mday = 15;
  t.tm_hour = 13;
  t.tm_min = 45;
  t.tm_sec = 31;
  t.tm_isdst = -1;
  const std::time_t when = std::mktime(&t);
  const std::uint32_t dos = pack::dos_time_from_unix(when);
  EXPECT_EQ(dos >> 25, 44u);
  EXPECT_EQ((dos >> 21) & 15, 7u);
  EXPECT_EQ((dos >> 16) & 31, 15u);
  EXPECT_EQ((dos >> 11) & 31, 13u);
  EXPECT_EQ((dos >> 5) & 63, 45u);
  EXPECT_EQ(dos & 31, 15u);  // two-second steps
  // Before 1980 there is no DOS time: the earliest one stands in.
  EXPECT_EQ(pack::dos_time_from_unix(0), (1u << 21) | (1u << 16));
}

}  // namespace
