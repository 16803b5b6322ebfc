// What the writer packs, the engine gives back: every method and a spread
// of levels over inputs of every kind, sizes at the window and block edges,
// and archives of many entries.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "arj/arj_engine.h"
#include "arj/crc32.h"
#include "arj/format.h"
#include "pack/archive_writer.h"
#include "pack/compressor.h"
#include "tests/pack/test_data.h"
#include "tests/support/arj_fixtures.h"

namespace {

using packtest::Bytes;
using packtest::Kind;

// Writes one entry with the writer and extracts it with the engine.
struct Extracted {
  int result = -1;
  Bytes data;
  int method = -1;
  std::size_t packed_size = 0;
};

Extracted round_trip(const Bytes &input, int method, int level) {
  pack::MemorySink sink;
  pack::ArchiveWriter writer(sink, "T.ARJ", 0);
  const pack::PackedData packed = pack::pack_data(input.data(), input.size(), method, level);
  EXPECT_TRUE(writer.add_packed("DATA.BIN", packed, input.size(), 0));
  EXPECT_TRUE(writer.finish());
  twtest::TempDir dir;
  const std::string archive = dir.write("T.ARJ", sink.bytes);
  const std::string output = dir.file("OUT");
  char name[256] = {};
  Extracted x;
  x.result = arj_extract_entry(archive.c_str(), 1, output.c_str(), name);
  if (twtest::file_exists(output)) x.data = twtest::read_file(output);
  x.method = packed.method;
  x.packed_size = packed.bytes.size();
  EXPECT_STREQ(name, "DATA.BIN");
  return x;
}

struct RoundTripCase {
  const char *label;
  Kind kind;
  std::size_t size;
};

struct MethodLevel {
  int method;
  int level;
};

class RoundTripTest : public ::testing::TestWithParam<std::tuple<RoundTripCase, MethodLevel>> {};

TEST_P(RoundTripTest, EngineGivesBackTheInput) {
  const RoundTripCase &c = std::get<0>(GetParam());
  const int method = std::get<1>(GetParam()).method;
  const int level = std::get<1>(GetParam()).level;
  const Bytes input = packtest::make_data(c.kind, c.size, static_cast<std::uint32_t>(c.size) * 31u + 7u);
  const Extracted x = round_trip(input, method, level);
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, input);
  EXPECT_LE(x.packed_size, input.size());
}

const RoundTripCase kCases[] = {
    {"empty", Kind::kRandom, 0},
    {"one_byte", Kind::kRandom, 1},
    {"two_bytes", Kind::kOneByteRepeated, 2},
    {"one_byte_repeated", Kind::kOneByteRepeated, 100000},
    {"runs", Kind::kRuns, 70000},
    {"random", Kind::kRandom, 40000},
    {"text", Kind::kText, 120000},
    {"binary", Kind::kBinary, 150000},
    // A whole window and one byte either side.
    {"window_less_one", Kind::kBinary, 26623},
    {"window", Kind::kText, 26624},
    {"window_and_one", Kind::kRuns, 26625},
    // As many literals as a block can hold, and one either side.
    {"block_less_one", Kind::kText, 65535},
    {"block", Kind::kBinary, 65536},
    {"block_and_one", Kind::kBinary, 65537},
};

INSTANTIATE_TEST_SUITE_P(
    Methods, RoundTripTest,
    ::testing::Combine(::testing::ValuesIn(kCases),
                       ::testing::Values(MethodLevel{0, 5}, MethodLevel{1, 1}, MethodLevel{1, 3}, MethodLevel{1, 5},
                                         MethodLevel{1, 9}, MethodLevel{4, 1}, MethodLevel{4, 5}, MethodLevel{4, 9})),
    [](const ::testing::TestParamInfo<std::tuple<RoundTripCase, MethodLevel>> &param_info) {
      const auto &p = param_info.param;
      return std::string(std::get<0>(p).label) + "_m" + std::to_string(std::get<1>(p).method) + "_l" +
             std::to_string(std::get<1>(p).level);
    });

// Bytes from a 16-value alphabet: mostly short matches and literals, and
// packing pays.
TEST(RoundTripTest, SmallAlphabetPacks) {
  Bytes input(200000);
  std::mt19937 rng(3);
  for (auto &b : input) b = static_cast<std::uint8_t>(rng() % 16 * 17);
  const Extracted x = round_trip(input, 1, 5);
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.method, 1);
  EXPECT_EQ(x.data, input);
}

// The stored fallback hides the compressors' output for small and random
// inputs; here it goes to the engine as it is. Covers the one-symbol forms
// (one byte: a single literal; 0..255: every length 8, so the code-length
// code has a single symbol) and blocks of literals only.
TEST(RoundTripTest, CompressorOutputDecodesWhereStoringWouldWin) {
  Bytes every_byte(256);
  for (int i = 0; i < 256; ++i) every_byte[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  const Bytes inputs[] = {Bytes{0x42}, Bytes{1, 2}, every_byte, packtest::make_data(Kind::kRandom, 70000, 4),
                          packtest::make_data(Kind::kOneByteRepeated, 3, 0)};
  twtest::TempDir dir;
  for (const Bytes &input : inputs) {
    for (const int method : {1, 4}) {
      pack::PackedData packed;
      packed.method = method;
      packed.bytes = method == 1 ? pack::compress_lzh(input.data(), input.size(), 5)
                                 : pack::compress_method4(input.data(), input.size(), 5);
      packed.crc = arj::crc32_of(input.data(), input.size());
      pack::MemorySink sink;
      pack::ArchiveWriter writer(sink, "T.ARJ", 0);
      ASSERT_TRUE(writer.add_packed("X", packed, input.size(), 0));
      ASSERT_TRUE(writer.finish());
      const std::string archive = dir.write("T.ARJ", sink.bytes);
      char name[256] = {};
      ASSERT_EQ(arj_extract_entry(archive.c_str(), 1, dir.file("OUT").c_str(), name), 0)
          << "method " << method << ", size " << input.size();
      EXPECT_EQ(twtest::read_file(dir.file("OUT")), input) << "method " << method << ", size " << input.size();
    }
  }
}

TEST(RoundTripTest, PackingThatDoesNotPayIsStored) {
  const Bytes random = packtest::make_data(Kind::kRandom, 5000, 9);
  for (const int method : {1, 4}) {
    const pack::PackedData packed = pack::pack_data(random.data(), random.size(), method, 5);
    EXPECT_EQ(packed.method, arj::kMethodStored) << "method " << method;
    EXPECT_EQ(packed.bytes, random);
    EXPECT_EQ(packed.crc, arj::crc32_of(random.data(), random.size()));
  }
  const Bytes text = packtest::make_data(Kind::kText, 5000, 9);
  EXPECT_EQ(pack::pack_data(text.data(), text.size(), 1, 5).method, 1);
  EXPECT_EQ(pack::pack_data(text.data(), text.size(), 4, 5).method, 4);
  EXPECT_EQ(pack::pack_data(text.data(), 0, 1, 5).method, 0);
}

TEST(RoundTripTest, HigherLevelsPackSmaller) {
  const Bytes input = packtest::make_data(Kind::kBinary, 300000, 5);
  const std::size_t fast = pack::compress_lzh(input.data(), input.size(), 1).size();
  const std::size_t middle = pack::compress_lzh(input.data(), input.size(), 5).size();
  const std::size_t best = pack::compress_lzh(input.data(), input.size(), 9).size();
  EXPECT_LT(middle, fast);
  EXPECT_LE(best, middle);
  EXPECT_LT(pack::compress_lzh(input.data(), input.size(), 5).size(),
            pack::compress_method4(input.data(), input.size(), 5).size());
}

TEST(RoundTripTest, ManyEntriesInOneArchive) {
  pack::MemorySink sink;
  pack::ArchiveWriter writer(sink, "MANY.ARJ", 0);
  std::vector<Bytes> inputs;
  const int kEntries = 300;
  for (int i = 0; i < kEntries; ++i) {
    inputs.push_back(packtest::make_data(static_cast<Kind>(i % 5), static_cast<std::size_t>(i * 37 % 3000),
                                         static_cast<std::uint32_t>(i)));
    const Bytes &in = inputs.back();
    ASSERT_TRUE(writer.add("F" + std::to_string(i) + ".DAT", in.data(), in.size(), 0, i % 3 == 2 ? 4 : i % 3,
                           1 + i % 9));
  }
  ASSERT_TRUE(writer.finish());
  EXPECT_EQ(writer.bytes_written(), sink.bytes.size());
  twtest::TempDir dir;
  const std::string archive = dir.write("MANY.ARJ", sink.bytes);
  EXPECT_EQ(arj_count_entries(archive.c_str()), kEntries);
  for (int i = 0; i < kEntries; ++i) {
    char name[256] = {};
    const std::string out = dir.file("OUT");
    ASSERT_EQ(arj_extract_entry(archive.c_str(), i + 1, out.c_str(), name), 0) << "entry " << i + 1;
    EXPECT_EQ(std::string(name), "F" + std::to_string(i) + ".DAT");
    EXPECT_EQ(twtest::read_file(out), inputs[static_cast<std::size_t>(i)]) << "entry " << i + 1;
  }
  char name[256] = {};
  EXPECT_EQ(arj_extract_entry(archive.c_str(), kEntries + 1, dir.file("OUT").c_str(), name), 1);
}

}  // namespace
