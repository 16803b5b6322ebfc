// Every result of the two entry points, each from the smallest archive that
// shows it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "arj/engine_state.h"
#include "tests/arj/engine_test_util.h"

namespace {

using namespace twtest;

Entry plain_entry(const std::string &name = "A.TXT") { return stored_entry(name, to_bytes("hello, world\n")); }

Entry with(std::function<void(HeaderFields &)> change) {
  Entry e = plain_entry();
  change(e.header);
  return e;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes &p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes main_header() {
  HeaderFields main;
  main.content_type = 2;
  main.name = "TEST.ARJ";
  return header_block(main);
}

struct ResultCase {
  const char *label;
  std::function<Bytes()> archive;
  int entry;
  int count;    // what arj_count_entries returns
  int extract;  // what arj_extract_entry returns for `entry`
  bool output_written;
};

class ResultCodes : public ::testing::TestWithParam<ResultCase> {};

// Every way out closes what the operation opened, exactly once.
std::size_t open_descriptors() {
  std::size_t n = 0;
  for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++n;
  }
  return n;
}

TEST_P(ResultCodes, CountAndExtract) {
  const ResultCase &c = GetParam();
  const ArchiveOnDisk disk(c.archive());
  const std::size_t descriptors = open_descriptors();
  EXPECT_EQ(disk.count(), c.count);
  const Extraction x = disk.extract(c.entry);
  EXPECT_EQ(x.result, c.extract);
  EXPECT_EQ(x.written, c.output_written);
  EXPECT_EQ(open_descriptors(), descriptors);
}

INSTANTIATE_TEST_SUITE_P(
    Archives, ResultCodes,
    ::testing::Values(
        ResultCase{"Ok", [] { return archive({plain_entry()}); }, 1, 1, 0, true},
        ResultCase{"EntryZero", [] { return archive({plain_entry()}); }, 0, 1, 1, false},
        ResultCase{"EntryNegative", [] { return archive({plain_entry()}); }, -3, 1, 1, false},
        ResultCase{"EntryPastTheLast", [] { return archive({plain_entry(), plain_entry("B")}); }, 3, 2, 1, false},
        ResultCase{"EndMarkerWhereTheMainHeaderShouldBe", [] { return Bytes{0x60, 0xEA, 0, 0, 0, 0, 0, 0}; }, 1,
                   100, 100, false},
        ResultCase{"NoHeaderBlock", [] { return to_bytes("just some bytes, no archive"); }, 1, 111, 111, false},
        ResultCase{"EmptyFile", [] { return Bytes{}; }, 1, 111, 111, false},
        ResultCase{"TooShortForAMarker", [] { return Bytes{0x60, 0xEA}; }, 1, 111, 111, false},
        ResultCase{"EndsInsideTheScannedSize", [] { return Bytes{0x60, 0xEA, 0x05}; }, 1, 104, 104, false},
        ResultCase{"EndsInsideTheMainHeadersExtendedHeaders",
                   [] {
                     Bytes b = main_header();
                     b.resize(b.size() - 2);  // drop the closing ext_size 0
                     return b;
                   },
                   1, 104, 104, false},
        ResultCase{"EndsInsideStoredData",
                   [] {
                     Bytes b = archive({plain_entry()});
                     b.resize(b.size() - 8);
                     return b;
                   },
                   1, 1, 104, true},
        ResultCase{"DataCrcWrong", [] { return archive({with([](HeaderFields &h) { h.data_crc ^= 1; })}); }, 1, 1, 106,
                   true},
        ResultCase{"Enciphered", [] { return archive({with([](HeaderFields &h) { h.header_flags = 0x11; })}); }, 1, 1,
                   108, false},
        ResultCase{"VersionTestComesFirst",
                   [] {
                     return archive({with([](HeaderFields &h) {
                       h.min_version = 4;
                       h.header_flags = 0x01;
                     })});
                   },
                   1, 1, 114, false},
        ResultCase{"EncipheredBeforeMethod",
                   [] {
                     return archive({with([](HeaderFields &h) {
                       h.header_flags = 0x01;
                       h.pack_method = 7;
                     })});
                   },
                   1, 1, 108, false},
        ResultCase{"UnknownMethod", [] { return archive({with([](HeaderFields &h) { h.pack_method = 5; })}); }, 1, 1,
                   112, false},
        ResultCase{"UnknownContentType", [] { return archive({with([](HeaderFields &h) { h.content_type = 3; })}); },
                   1, 1, 113, false},
        ResultCase{"SecondHeaderCrcWrong",
                   [] {
                     return concat({main_header(), header_block(plain_entry().header), plain_entry().packed,
                                    header_block(basic_header(plain_entry("B").header), {}, 1), end_marker()});
                   },
                   2, 1, 1, false},
        ResultCase{"SecondHeaderWithoutMarker",
                   [] {
                     return concat({main_header(), header_block(plain_entry().header), plain_entry().packed,
                                    to_bytes("garbage"), end_marker()});
                   },
                   2, 1, 1, false},
        ResultCase{"SecondHeaderTooLarge",
                   [] {
                     Bytes b = header_block(plain_entry("B").header);
                     b[2] = 0x29;  // basic size 2601
                     b[3] = 0x0A;
                     return concat({main_header(), header_block(plain_entry().header), plain_entry().packed, b});
                   },
                   2, 1, 1, false},
        ResultCase{"SecondHeaderEndsInsideItsExtendedHeaders",
                   [] {
                     Bytes b = header_block(basic_header(plain_entry("B").header), {to_bytes("extended")});
                     b.resize(b.size() - 5);
                     return concat({main_header(), header_block(plain_entry().header), plain_entry().packed, b});
                   },
                   2, 1, 1, false}),
    [](const ::testing::TestParamInfo<ResultCase> &p) { return std::string(p.param.label); });

TEST(ResultCodes, MissingArchive) {
  TempDir dir;
  const std::string path = dir.file("NOWHERE.ARJ");
  EXPECT_EQ(arj_count_entries(path.c_str()), 103);
  const Extraction x = extract_to(path, 1, dir.file("OUT"));
  EXPECT_EQ(x.result, 103);
  EXPECT_FALSE(x.written);
}

TEST(ResultCodes, OutputCannotBeOpenedThenTheNextCallWorks) {
  const ArchiveOnDisk disk(archive({plain_entry()}));
  const std::size_t descriptors = open_descriptors();
  EXPECT_EQ(extract_to(disk.path(), 1, disk.dir().file("no/such/folder/OUT")).result, 103);
  EXPECT_EQ(open_descriptors(), descriptors);  // the archive was closed by the walk
  EXPECT_EQ(disk.extract(1).result, 0);
}

TEST(ResultCodes, WriteFailure) {
  if (!file_exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  Bytes big(100000, 'x');
  const ArchiveOnDisk disk(archive({stored_entry("SMALL", to_bytes("tiny")), stored_entry("BIG", big),
                                    make_entry("LZH", 1, big, lzh_compress(big))}));
  // Small output that sits in the stream's buffer fails when it is closed.
  for (int entry = 1; entry <= 3; ++entry) {
    char name[256];
    EXPECT_EQ(arj_extract_entry(disk.path().c_str(), entry, "/dev/full", name), 105) << entry;
  }
}

void *no_memory(std::size_t) { return nullptr; }

TEST(ResultCodes, OutOfMemoryForEveryMethod) {
  const Bytes data = to_bytes("some data to unpack, some data to unpack");
  const ArchiveOnDisk disk(archive({stored_entry("S", data), make_entry("L", 2, data, lzh_compress(data)),
                                    make_entry("M", 4, data, method4_compress(data))}));
  ASSERT_TRUE(arj::engine_start());
  arj::engine().allocate = no_memory;
  std::vector<int> results;
  for (int entry = 1; entry <= 3; ++entry) results.push_back(disk.extract(entry).result);
  arj::engine().allocate = nullptr;
  EXPECT_EQ(results, (std::vector<int>{110, 110, 110}));
  EXPECT_EQ(disk.extract(2).result, 0);
}

// A damaged entry header after k good ones: the count is k, entries 1 to k
// still extract, and the later numbers find no entry.
TEST(ResultCodes, DamagedHeaderAfterGoodEntries) {
  const Bytes data = to_bytes("payload payload payload payload");
  const Entry good[] = {stored_entry("ONE", data), make_entry("TWO", 1, data, lzh_compress(data)),
                        make_entry("THREE", 4, data, method4_compress(data))};
  Bytes bytes = main_header();
  for (const Entry &e : good) {
    const Bytes h = header_block(e.header);
    bytes.insert(bytes.end(), h.begin(), h.end());
    bytes.insert(bytes.end(), e.packed.begin(), e.packed.end());
  }
  const Bytes damaged = header_block(basic_header(stored_entry("FOUR", data).header), {}, 7);
  bytes.insert(bytes.end(), damaged.begin(), damaged.end());
  const ArchiveOnDisk disk(bytes);
  EXPECT_EQ(disk.count(), 3);
  const char *names[] = {"ONE", "TWO", "THREE"};
  for (int entry = 1; entry <= 3; ++entry) {
    const Extraction x = disk.extract(entry);
    EXPECT_EQ(x.result, 0);
    EXPECT_EQ(x.name, names[entry - 1]);
    EXPECT_EQ(x.data, data);
  }
  EXPECT_EQ(disk.extract(4).result, 1);
  EXPECT_EQ(disk.extract(5).result, 1);
}

}  // namespace
