// Method 4: fixed prefix codes for lengths and distances.
#include <gtest/gtest.h>

#include <random>

#include "tests/arj/engine_test_util.h"

namespace {

using namespace twtest;

Entry method4_entry(const Bytes &packed, std::uint32_t original_size, const Bytes &expected_output) {
  Entry e = make_entry("M4.BIN", 4, expected_output, packed);
  e.header.original_size = original_size;
  return e;
}

struct WorkedExample {
  const char *label;
  Bytes packed;
  std::uint32_t original_size;
  Bytes output;
};

class Method4Example : public ::testing::TestWithParam<WorkedExample> {};

TEST_P(Method4Example, ExpandsToTheExpectedBytes) {
  const WorkedExample &c = GetParam();
  const Extraction x = extract_single(method4_entry(c.packed, c.original_size, c.output));
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, Method4Example,
    ::testing::Values(
        WorkedExample{"TwoLiterals", {0x20, 0x90, 0x80}, 2, {0x41, 0x42}},
        WorkedExample{"LiteralThenOverlappingMatch", {0x20, 0xC0, 0x00}, 4, {0x41, 0x41, 0x41, 0x41}},
        // The last match is never cut short.
        WorkedExample{"MatchRunsPastTheSize", {0x20, 0xC0, 0x00}, 2, {0x41, 0x41, 0x41, 0x41}},
        // Past the packed data every token reads as a literal 0.
        WorkedExample{"ZeroBitsPastTheData", {0x20, 0x90, 0x80}, 5, {0x41, 0x42, 0, 0, 0}},
        WorkedExample{"EmptyEntry", {0x20, 0x90}, 0, {}}),
    [](const ::testing::TestParamInfo<WorkedExample> &p) { return std::string(p.param.label); });

// Tokens at the extremes of both prefix codes: the longest length prefix and
// the longest distance prefix have no closing 0 bit.
TEST(Method4, LongestPrefixesAndLongestMatch) {
  std::vector<Token> tokens;
  for (int i = 0; i < 16000; ++i) tokens.push_back(literal(static_cast<std::uint8_t>(i * 7 + i / 256)));
  tokens.push_back(match(256, 0));       // value 254, prefix 1111111
  tokens.push_back(match(129, 15871));   // value 127, distance prefix 1111
  tokens.push_back(match(3, 7680));      // the first distance of the 1111 class
  tokens.push_back(match(3, 7679));      // the last of the 1110 class
  tokens.push_back(match(4, 511));
  tokens.push_back(match(5, 512));
  const Bytes expected = expand_tokens(tokens);
  const Extraction x = extract_single(make_entry("M4.BIN", 4, expected, method4_stream(tokens)));
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, expected);
}

// Long output: the window fills and slides many times, with matches that
// reach back to before the start (zeros) and across every boundary.
TEST(Method4, LongStreamAcrossManyWindows) {
  std::mt19937 engine(4);
  auto rng = [&engine] { return static_cast<std::uint32_t>(engine()); };
  std::vector<Token> tokens;
  tokens.push_back(match(200, 15000));  // nothing written yet: zeros
  std::size_t produced = 200;
  while (produced < 400000) {
    if (rng() % 3 == 0) {
      tokens.push_back(literal(static_cast<std::uint8_t>(rng())));
      ++produced;
    } else {
      const std::uint32_t length = 3 + rng() % 254;
      tokens.push_back(match(length, rng() % 15872));
      produced += length;
    }
  }
  const Bytes expected = expand_tokens(tokens);
  const Extraction x = extract_single(make_entry("M4.BIN", 4, expected, method4_stream(tokens)));
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, expected);
}

TEST(Method4, RefusedWhenWrittenByArchiverVersionOne) {
  const Bytes data = to_bytes("method four");
  Entry e = make_entry("M4.BIN", 4, data, method4_compress(data));
  for (int version : {1, 2, 6}) {
    e.header.archiver_version = static_cast<std::uint8_t>(version);
    const Extraction x = extract_single(e);
    EXPECT_EQ(x.result, version == 1 ? 112 : 0) << version;
    EXPECT_EQ(x.written, version != 1);
  }
}

}  // namespace
