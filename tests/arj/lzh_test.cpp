// Methods 1-3: blocks of static prefix codes over a sliding window.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "tests/arj/engine_test_util.h"

namespace {

using namespace twtest;

Extraction run_stream(const Bytes &packed, const Bytes &expected, std::uint32_t original_size, int method = 1) {
  Entry e = make_entry("LZH.BIN", method, expected, packed);
  e.header.original_size = original_size;
  return extract_single(e);
}

Extraction run_blocks(const std::vector<LzhBlock> &blocks, int method = 1) {
  std::vector<Token> all;
  for (const LzhBlock &b : blocks) all.insert(all.end(), b.tokens.begin(), b.tokens.end());
  const Bytes expected = expand_tokens(all);
  return run_stream(lzh_stream(blocks), expected, static_cast<std::uint32_t>(expected.size()), method);
}

std::vector<Token> literals(const std::string &text) {
  std::vector<Token> tokens;
  for (unsigned char c : text) tokens.push_back(literal(c));
  return tokens;
}

TEST(Lzh, EveryMethodNumberSharesTheFormat) {
  const Bytes data = to_bytes("abracadabra, abracadabra, abracadabra!");
  for (int method : {1, 2, 3}) {
    const Extraction x = run_stream(lzh_compress(data), data, static_cast<std::uint32_t>(data.size()), method);
    EXPECT_EQ(x.result, 0) << method;
    EXPECT_EQ(x.data, data) << method;
  }
}

TEST(Lzh, SeveralBlocksOfDifferentCodes) {
  std::mt19937 rng(7);
  Bytes data;
  for (int i = 0; i < 120000; ++i)
    data.push_back(static_cast<std::uint8_t>(i < 60000 ? "the quick brown fox "[i % 20] : rng() % 7));
  const Extraction x = run_stream(lzh_compress(data, 3000), data, static_cast<std::uint32_t>(data.size()));
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, data);
}

// Codes longer than the lookup widths: literal/length codes of 13 to 16 bits
// and distance codes of 9 to 16 bits.
TEST(Lzh, LongCodesDecodeBeyondTheLookupTables) {
  LzhBlock block;
  block.lit_len_lengths.assign(510, 0);
  for (int i = 0; i < 15; ++i) block.lit_len_lengths['a' + i] = static_cast<std::uint8_t>(i + 1);
  block.lit_len_lengths[256] = 16;  // match of 3
  block.lit_len_lengths[300] = 16;  // match of 47
  block.distance_lengths.assign(17, 0);
  for (int s = 1; s <= 16; ++s) block.distance_lengths[s] = static_cast<std::uint8_t>(17 - s);
  block.distance_lengths[0] = 16;
  for (int round = 0; round < 400; ++round) {
    for (int i = 0; i < 15; ++i) block.tokens.push_back(literal(static_cast<std::uint8_t>('a' + (i + round) % 15)));
    block.tokens.push_back(match(3, 0));
    block.tokens.push_back(match(47, 1));
    block.tokens.push_back(match(3, 5));
    block.tokens.push_back(match(47, 100));
    if (round > 300) block.tokens.push_back(match(3, 20000));
  }
  const Extraction x = run_blocks({block});
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, expand_tokens(block.tokens));
}

TEST(Lzh, OneSymbolCodesUseNoBits) {
  LzhBlock block;
  block.tokens = literals("xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx");  // literal/length and code-length codes of one symbol
  LzhBlock second;
  second.tokens = literals("abcabc");
  for (int i = 0; i < 20; ++i) second.tokens.push_back(match(9, 2));  // one distance class
  const Extraction x = run_blocks({block, second});
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, expand_tokens([&] {
              auto all = block.tokens;
              all.insert(all.end(), second.tokens.begin(), second.tokens.end());
              return all;
            }()));
}

TEST(Lzh, BlockSizeZeroMeans65536Symbols) {
  std::mt19937 rng(3);
  LzhBlock big;
  for (int i = 0; i < 65536; ++i) big.tokens.push_back(literal(static_cast<std::uint8_t>(rng() % 100)));
  big.block_size = 0;
  LzhBlock tail;
  tail.tokens = literals("END");
  const Extraction x = run_blocks({big, tail});
  EXPECT_EQ(x.result, 0);
  ASSERT_EQ(x.data.size(), 65539u);
  EXPECT_EQ(Bytes(x.data.end() - 3, x.data.end()), to_bytes("END"));
}

// Matches that reach before the first byte read zeros; matches of every
// length and distance cross the points where the window is written out.
TEST(Lzh, LongStreamAcrossManyWindows) {
  std::mt19937 engine(11);
  auto rng = [&engine] { return static_cast<std::uint32_t>(engine()); };
  std::vector<LzhBlock> blocks(1);
  blocks[0].tokens.push_back(match(256, 26623));  // nothing written yet: zeros
  std::size_t produced = 256;
  while (produced < 500000) {
    if (blocks.back().tokens.size() > 5000) blocks.emplace_back();
    if (rng() % 3 == 0) {
      blocks.back().tokens.push_back(literal(static_cast<std::uint8_t>(rng())));
      ++produced;
    } else {
      const std::uint32_t length = 3 + rng() % 254;
      const std::uint32_t distance = rng() % 4 == 0 ? rng() % 8 : rng() % 26624;
      blocks.back().tokens.push_back(match(length, distance));
      produced += length;
    }
  }
  const Extraction x = run_blocks(blocks);
  EXPECT_EQ(x.result, 0);
  std::vector<Token> all;
  for (const auto &b : blocks) all.insert(all.end(), b.tokens.begin(), b.tokens.end());
  EXPECT_EQ(x.data, expand_tokens(all));
}

TEST(Lzh, DistanceZeroRepeatsThePreviousByte) {
  LzhBlock block;
  block.tokens = {literal('z'), match(256, 0)};
  const Extraction x = run_blocks({block});
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, Bytes(257, 'z'));
}

TEST(Lzh, FinalMatchIsWrittenWhole) {
  LzhBlock block;
  block.tokens = {literal('A'), match(3, 0)};
  const Extraction x = run_stream(lzh_stream({block}), to_bytes("AAAA"), 2);
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, to_bytes("AAAA"));
}

TEST(Lzh, EmptyEntryWritesAnEmptyFile) {
  const Extraction x = run_stream({0x12, 0x34}, {}, 0);
  EXPECT_EQ(x.result, 0);
  EXPECT_TRUE(x.written);
  EXPECT_TRUE(x.data.empty());
}

// The 2-bit zero-run field follows the third code length even when the count
// is exactly 3; a decoder that skipped it would misread everything after.
TEST(Lzh, ZeroRunFieldFollowsAThirdAndLastLength) {
  BitWriter bits;
  bits.put(2, 16);
  bits.put(3, 5);
  bits.put(1, 3);
  bits.put(2, 3);
  bits.put(2, 3);
  bits.put(0, 2);    // the zero run
  bits.put(0, 9);    // literal/length code of one symbol...
  bits.put('Q', 9);  // ...'Q'
  bits.put(0, 5);
  bits.put(0, 5);
  const Extraction x = run_stream(bits.bytes(), to_bytes("QQ"), 2);
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, to_bytes("QQ"));
}

TEST(Lzh, DamagedDataFailsTheCrcTest) {
  const Bytes data = to_bytes("some text that is long enough to be worth packing, some text");
  Bytes packed = lzh_compress(data);
  packed.resize(packed.size() / 2);  // the rest reads as zero bits
  const Extraction x = run_stream(packed, data, static_cast<std::uint32_t>(data.size()));
  EXPECT_EQ(x.result, 106);
  EXPECT_TRUE(x.written);
}

// Damaged streams end the entry with 102 and nothing read or written outside
// an array; a damaged code that is never used does no harm.
struct DamageCase {
  const char *label;
  std::function<Bytes()> stream;
  int expected;
};

Bytes bits_of(const std::function<void(BitWriter &)> &write) {
  BitWriter bits;
  write(bits);
  return bits.bytes();
}

// Code-length code of one symbol, `symbol`.
void single_code_length_code(BitWriter &b, std::uint32_t symbol) {
  b.put(0, 5);
  b.put(symbol, 5);
}

Bytes one_match_block(std::uint32_t distance, int distance_single = -1) {
  LzhBlock block;
  block.tokens = literals("abcdefgh");
  block.tokens.push_back(match(5, distance));
  block.distance_single = distance_single;
  return lzh_stream({block});
}

class LzhDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(LzhDamage, EndsWithTheExpectedResult) {
  const DamageCase &c = GetParam();
  const Extraction x = run_stream(c.stream(), {}, 13);
  EXPECT_EQ(x.result, c.expected);
  EXPECT_TRUE(x.written);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, LzhDamage,
    ::testing::Values(
        DamageCase{"CodeLengthCountAbove19",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), b.put(25, 5); }); }, 102},
        DamageCase{"DistanceCountAbove17",
                   [] {
                     return bits_of([](BitWriter &b) {
                       b.put(1, 16), single_code_length_code(b, 3), b.put(0, 9), b.put('A', 9), b.put(20, 5);
                     });
                   },
                   102},
        DamageCase{"LiteralLengthCount511",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), single_code_length_code(b, 3), b.put(511, 9); }); },
                   102},
        DamageCase{"ZeroRunPastTheAlphabet",
                   [] {
                     return bits_of([](BitWriter &b) {
                       b.put(1, 16), single_code_length_code(b, 2), b.put(510, 9), b.put(511, 9);
                     });
                   },
                   102},
        DamageCase{"ShortLength17",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), b.put(1, 5), b.put(7, 3), b.put_ones(10), b.put(0, 1); }); },
                   102},
        DamageCase{"ShortLength20WithoutClosingBit",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), b.put(1, 5), b.put(7, 3), b.put_ones(13); }); },
                   102},
        DamageCase{"IncompleteCode",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), single_code_length_code(b, 3), b.put(1, 9); }); },
                   102},
        DamageCase{"OversubscribedCode",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), single_code_length_code(b, 3), b.put(3, 9); }); },
                   102},
        // Fills the code space exactly twice: passes a 16-bit sum, still refused.
        DamageCase{"CodeSpaceFilledTwice",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), single_code_length_code(b, 3), b.put(4, 9); }); },
                   102},
        DamageCase{"LiteralLengthSymbolOutsideTheAlphabet",
                   [] {
                     return bits_of([](BitWriter &b) {
                       b.put(1, 16), single_code_length_code(b, 0), b.put(0, 9), b.put(510, 9), b.put(0, 5), b.put(0, 5);
                     });
                   },
                   102},
        DamageCase{"CodeLengthSymbolOutsideTheAlphabet",
                   [] { return bits_of([](BitWriter &b) { b.put(1, 16), single_code_length_code(b, 25), b.put(5, 9); }); },
                   102},
        DamageCase{"DistanceSymbolOutsideTheAlphabetUsed", [] { return one_match_block(6, 20); }, 102},
        DamageCase{"DistanceBeforeTheWindowStart", [] { return one_match_block(26624); }, 102},
        DamageCase{"LargestDistanceValue", [] { return one_match_block(65535); }, 102},
        DamageCase{"EmptyDistanceCodeUsed",
                   [] {
                     LzhBlock block;
                     block.tokens = literals("abcdefgh");
                     block.tokens.push_back(match(5, 3));
                     block.distance_lengths.assign(17, 0);
                     return lzh_stream({block});
                   },
                   102}),
    [](const ::testing::TestParamInfo<DamageCase> &p) { return std::string(p.param.label); });

// The same faults met far from the ends of the input and of the window, where
// symbols are decoded without bounds tests: still 102.
struct DeepDamageCase {
  const char *label;
  std::uint32_t distance;
  int distance_single;
  int lit_len_single;
};

class LzhDeepDamage : public ::testing::TestWithParam<DeepDamageCase> {};

TEST_P(LzhDeepDamage, EndsWith102) {
  const DeepDamageCase &c = GetParam();
  std::mt19937 engine(5);
  LzhBlock block;
  for (int i = 0; i < 4000; ++i) block.tokens.push_back(literal(static_cast<std::uint8_t>(engine())));
  block.tokens.push_back(match(5, c.distance));
  for (int i = 0; i < 4000; ++i) block.tokens.push_back(literal(static_cast<std::uint8_t>(engine())));
  block.distance_single = c.distance_single;
  block.lit_len_single = c.lit_len_single;
  Bytes packed = lzh_stream({block});
  packed.resize(packed.size() + 4096, 0x5A);  // input to spare after the fault
  const Extraction x = run_stream(packed, {}, 20000);
  EXPECT_EQ(x.result, 102);
}

INSTANTIATE_TEST_SUITE_P(Streams, LzhDeepDamage,
                         ::testing::Values(DeepDamageCase{"DistanceBeforeTheWindowStart", 26624, -1, -1},
                                           DeepDamageCase{"LargestDistanceValue", 65535, -1, -1},
                                           DeepDamageCase{"DistanceSymbolOutsideTheAlphabet", 6, 20, -1},
                                           DeepDamageCase{"LiteralLengthSymbolOutsideTheAlphabet", 6, -1, 510}),
                         [](const ::testing::TestParamInfo<DeepDamageCase> &p) { return std::string(p.param.label); });

// Codes a block never uses may be odd without harm: a distance code that is
// empty or whose one symbol lies outside its alphabet, in a block of literals.
TEST(Lzh, UnusedOddDistanceCodesDoNoHarm) {
  LzhBlock outside;
  outside.tokens = literals("literals only");
  outside.distance_single = 20;
  LzhBlock empty;
  empty.tokens = literals(", still literals");
  empty.distance_lengths.assign(17, 0);
  const Extraction x = run_blocks({outside, empty});
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, to_bytes("literals only, still literals"));
}

TEST(Lzh, LargestDistanceInsideTheWindow) {
  Bytes data(26624);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 31 + i / 251);
  LzhBlock block;
  for (auto b : data) block.tokens.push_back(literal(b));
  block.tokens.push_back(match(10, 26623));  // the window's first byte
  const Extraction x = run_blocks({block});
  EXPECT_EQ(x.result, 0);
  EXPECT_EQ(x.data, expand_tokens(block.tokens));
}

}  // namespace
