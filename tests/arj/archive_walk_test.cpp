// walk_archive: one pass over an archive that may sit inside a larger file,
// extracting into sinks with the entry points' checks and decoders.
#include <gtest/gtest.h>

#include "arj/archive_reader.h"
#include "tests/arj/engine_test_util.h"

namespace {

using namespace twtest;

struct MemorySink : arj::EntrySink {
  Bytes bytes;
  bool write(const unsigned char *data, std::size_t length) override {
    bytes.insert(bytes.end(), data, data + length);
    return true;
  }
};

struct Outcome {
  arj::EntryInfo info;
  int result = -1;  // -1: not extracted
  Bytes bytes;
};

// Extracts every entry into memory, or stops after `stop_after` entries.
struct Collector : arj::EntryVisitor {
  std::vector<Outcome> seen;
  MemorySink sink;
  int stop_after = -1;
  bool on_entry(const arj::EntryInfo &info, arj::EntryAction &action) override {
    if (static_cast<int>(seen.size()) == stop_after) return false;
    seen.push_back({info, -1, {}});
    sink.bytes.clear();
    action.sink = &sink;
    return true;
  }
  void on_entry_done(const arj::EntryInfo &, int result) override {
    seen.back().result = result;
    seen.back().bytes = sink.bytes;
  }
};

const Bytes kText = to_bytes("line one\nline two\n");
const Bytes kBinary = to_bytes("\x01\x02\n\xFF binary");

std::vector<Entry> mixed_entries() {
  Entry text = make_entry("TEXT.TXT", 1, kText, lzh_compress(kText));
  text.header.content_type = 1;
  Entry bad_crc = stored_entry("BADCRC.BIN", kBinary);
  bad_crc.header.data_crc ^= 1;
  Entry unknown = stored_entry("METHOD7.BIN", kBinary);
  unknown.header.pack_method = 7;
  Entry damaged = make_entry("DAMAGED.BIN", 2, kBinary, Bytes{0x00, 0x01, 0xF8, 0x00});  // code-length count 31
  return {text, bad_crc, unknown, damaged, make_entry("LAST.BIN", 4, kBinary, method4_compress(kBinary))};
}

TEST(ArchiveWalk, FromAnOffsetInsideALargerFile) {
  const Bytes stub(3000, 'S');
  Bytes file = stub;
  const Bytes arc = archive(mixed_entries());
  file.insert(file.end(), arc.begin(), arc.end());
  const ArchiveOnDisk disk(file);
  Collector c;
  int entries_seen = -1;
  EXPECT_EQ(arj::walk_archive(disk.path().c_str(), 3000, c, &entries_seen), 0);
  EXPECT_EQ(entries_seen, 5);
  ASSERT_EQ(c.seen.size(), 5u);

  const arj::EntryInfo &first = c.seen[0].info;
  EXPECT_EQ(first.number, 1);
  EXPECT_EQ(first.name, "TEXT.TXT");
  EXPECT_EQ(first.pack_method, 1);
  EXPECT_EQ(first.content_type, 1);
  EXPECT_EQ(first.original_size, kText.size());
  EXPECT_EQ(first.data_crc, crc_of(kText));
  EXPECT_GT(first.header_offset, 3000);
  EXPECT_EQ(first.data_offset + static_cast<long>(first.packed_size), c.seen[1].info.header_offset);

  // The sink gets the bytes a file would: CR LF in text entries.
  EXPECT_EQ(c.seen[0].result, 0);
  EXPECT_EQ(c.seen[0].bytes, to_bytes("line one\r\nline two\r\n"));
  // Failed entries do not end the walk; the entry after them still extracts.
  EXPECT_EQ(c.seen[1].result, 106);
  EXPECT_EQ(c.seen[2].result, 112);
  EXPECT_EQ(c.seen[3].result, 102);
  EXPECT_EQ(c.seen[4].result, 0);
  EXPECT_EQ(c.seen[4].bytes, kBinary);
}

TEST(ArchiveWalk, SameBytesAsTheEntryPoints) {
  const std::vector<Entry> entries = mixed_entries();
  const ArchiveOnDisk disk(archive(entries));
  Collector c;
  ASSERT_EQ(arj::walk_archive(disk.path().c_str(), 0, c, nullptr), 0);
  ASSERT_EQ(c.seen.size(), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Extraction x = disk.extract(static_cast<int>(i + 1));
    EXPECT_EQ(x.result, c.seen[i].result) << i;
    if (x.result == 0) {
      EXPECT_EQ(x.data, c.seen[i].bytes) << i;
    }
  }
}

TEST(ArchiveWalk, DamagedHeaderEndsTheWalkWithItsCode) {
  Bytes bytes = archive({stored_entry("A", kBinary), stored_entry("B", kBinary)});
  bytes.resize(bytes.size() - 4);
  const Bytes bad = header_block(basic_header(stored_entry("C", kBinary).header), {}, 1);
  bytes.insert(bytes.end(), bad.begin(), bad.end());
  const ArchiveOnDisk disk(bytes);
  Collector c;
  int entries_seen = -1;
  EXPECT_EQ(arj::walk_archive(disk.path().c_str(), 0, c, &entries_seen), 109);
  EXPECT_EQ(entries_seen, 2);
  EXPECT_EQ(c.seen.size(), 2u);
}

TEST(ArchiveWalk, TruncatedDataEndsTheWalk) {
  Bytes bytes = archive({stored_entry("A", kBinary), stored_entry("B", Bytes(5000, 'b'))});
  bytes.resize(bytes.size() - 100);
  const ArchiveOnDisk disk(bytes);
  Collector c;
  EXPECT_EQ(arj::walk_archive(disk.path().c_str(), 0, c, nullptr), 104);
  ASSERT_EQ(c.seen.size(), 2u);
  EXPECT_EQ(c.seen[0].result, 0);
  EXPECT_EQ(c.seen[1].result, 104);
}

TEST(ArchiveWalk, VisitorStopsTheWalk) {
  const ArchiveOnDisk disk(archive(mixed_entries()));
  Collector c;
  c.stop_after = 2;
  EXPECT_EQ(arj::walk_archive(disk.path().c_str(), 0, c, nullptr), 0);
  EXPECT_EQ(c.seen.size(), 2u);
}

TEST(ArchiveWalk, ResultCodesBeforeTheFirstEntry) {
  TempDir dir;
  Collector c;
  EXPECT_EQ(arj::walk_archive(dir.file("MISSING").c_str(), 0, c, nullptr), 103);
  EXPECT_EQ(arj::walk_archive(dir.write("X", to_bytes("no archive")).c_str(), 0, c, nullptr), 111);
  EXPECT_EQ(arj::walk_archive(dir.write("Y", {0x60, 0xEA, 0, 0, 0, 0, 0, 0}).c_str(), 0, c, nullptr), 100);
  EXPECT_TRUE(c.seen.empty());
}

TEST(ArchiveWalk, FailingSinkGives105) {
  struct Refuses : arj::EntrySink {
    bool write(const unsigned char *, std::size_t) override { return false; }
  };
  struct RefusingVisitor : arj::EntryVisitor {
    Refuses sink;
    std::vector<int> results;
    bool on_entry(const arj::EntryInfo &, arj::EntryAction &action) override {
      action.sink = &sink;
      return true;
    }
    void on_entry_done(const arj::EntryInfo &, int result) override { results.push_back(result); }
  } v;
  const ArchiveOnDisk disk(archive({stored_entry("A", kBinary), make_entry("B", 1, kBinary, lzh_compress(kBinary)),
                                    make_entry("C", 4, kBinary, method4_compress(kBinary))}));
  EXPECT_EQ(arj::walk_archive(disk.path().c_str(), 0, v, nullptr), 0);
  EXPECT_EQ(v.results, (std::vector<int>{105, 105, 105}));
}

}  // namespace
