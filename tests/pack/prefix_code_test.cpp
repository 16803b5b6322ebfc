// Code lengths and canonical codes: the reader accepts only codes that fill
// the code space exactly, with no code longer than 16 bits.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "pack/bit_writer.h"
#include "pack/prefix_code.h"
#include "tests/support/arj_fixtures.h"

namespace {

// Sum of 2^(16 - length) over the used symbols: 65536 for a complete code.
std::uint64_t kraft_sum(const std::vector<std::uint8_t> &lengths) {
  std::uint64_t sum = 0;
  for (const std::uint8_t l : lengths) {
    if (l != 0) sum += std::uint64_t{1} << (16 - l);
  }
  return sum;
}

struct LengthCase {
  const char *label;
  std::vector<std::uint32_t> freqs;
  int max_length;
};

std::vector<std::uint32_t> fibonacci(int n) {
  std::vector<std::uint32_t> f(static_cast<std::size_t>(n));
  std::uint32_t a = 1;
  std::uint32_t b = 1;
  for (auto &x : f) {
    x = a;
    const std::uint32_t c = a + b;
    a = b;
    b = c;
  }
  return f;
}

std::vector<std::uint32_t> sparse_literals() {
  std::vector<std::uint32_t> f(510, 0);
  f[0] = 1;
  f[97] = 5000;
  f[300] = 2;
  f[509] = 1;
  return f;
}

class CodeLengthTest : public ::testing::TestWithParam<LengthCase> {};

TEST_P(CodeLengthTest, CompleteAndWithinLimit) {
  const LengthCase &c = GetParam();
  std::vector<std::uint8_t> lengths(c.freqs.size(), 99);
  pack::build_code_lengths(c.freqs.data(), static_cast<int>(c.freqs.size()), c.max_length, lengths.data());
  for (std::size_t s = 0; s < c.freqs.size(); ++s) {
    EXPECT_EQ(c.freqs[s] == 0, lengths[s] == 0) << "symbol " << s;
    EXPECT_LE(lengths[s], c.max_length) << "symbol " << s;
  }
  EXPECT_EQ(kraft_sum(lengths), 65536u);
  // A more frequent symbol never gets a longer code.
  for (std::size_t a = 0; a < c.freqs.size(); ++a) {
    for (std::size_t b = 0; b < c.freqs.size(); ++b) {
      if (c.freqs[a] > c.freqs[b] && c.freqs[b] != 0) {
        EXPECT_LE(lengths[a], lengths[b]) << a << " vs " << b;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sets, CodeLengthTest,
    ::testing::Values(LengthCase{"two", {5, 0, 1}, 16}, LengthCase{"uniform", std::vector<std::uint32_t>(19, 7), 16},
                      // Fibonacci weights make a 30-deep tree: the limit has to bite.
                      LengthCase{"fibonacci_limited", fibonacci(30), 16},
                      LengthCase{"fibonacci_tight", fibonacci(17), 7},
                      LengthCase{"all_literals", std::vector<std::uint32_t>(510, 1), 16},
                      LengthCase{"sparse", sparse_literals(), 16}),
    [](const ::testing::TestParamInfo<LengthCase> &param_info) { return std::string(param_info.param.label); });

TEST(CodeLengthTest, OneUsedSymbolIsLeftToTheOneSymbolForm) {
  std::vector<std::uint32_t> freqs(17, 0);
  freqs[5] = 40;
  std::vector<std::uint8_t> lengths(17);
  int only = -1;
  EXPECT_EQ(pack::used_symbols(freqs.data(), 17, &only), 1);
  EXPECT_EQ(only, 5);
  pack::build_code_lengths(freqs.data(), 17, 16, lengths.data());
  EXPECT_EQ(lengths[5], 1);
  EXPECT_EQ(kraft_sum(lengths), 32768u);  // incomplete: never written as a code
}

TEST(CanonicalCodeTest, MatchesTheReadersAssignment) {
  const std::vector<std::uint8_t> lengths = {2, 0, 2, 3, 4, 4, 3, 0, 4, 5, 5};
  std::vector<std::uint16_t> codes(lengths.size());
  pack::assign_canonical_codes(lengths.data(), static_cast<int>(lengths.size()), codes.data());
  const std::vector<std::uint32_t> expected = twtest::canonical_codes(lengths);
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] != 0) {
      EXPECT_EQ(codes[s], expected[s]) << "symbol " << s;
    }
  }
  // Shorter codes first, then symbol order within a length.
  EXPECT_EQ(codes[0], 0b00u);
  EXPECT_EQ(codes[2], 0b01u);
  EXPECT_EQ(codes[3], 0b100u);
  EXPECT_EQ(codes[6], 0b101u);
  EXPECT_EQ(codes[8], 0b1110u);
  EXPECT_EQ(codes[10], 0b11111u);
}

TEST(BitWriterTest, WritesMostSignificantBitFirst) {
  std::vector<std::uint8_t> out;
  pack::BitWriter bits(out);
  bits.put(3, 5);
  bits.put(9, 0x050);
  bits.put(4, 0xF);
  bits.flush();
  EXPECT_EQ(out, (std::vector<std::uint8_t>{0xA5, 0x0F}));
}

TEST(BitWriterTest, LongRunsAndPaddingAgreeWithTheTestWriter) {
  std::vector<std::uint8_t> out;
  pack::BitWriter bits(out);
  twtest::BitWriter reference;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 5000; ++i) {
    seed = seed * 1103515245u + 12345u;
    const unsigned width = (seed >> 8) % 33;
    const std::uint32_t value = width == 32 ? seed : (seed >> 3) & ((1u << width) - 1u);
    bits.put(width, value);
    reference.put(value, static_cast<int>(width));
  }
  bits.put(3, 6);  // leaves a part byte to pad
  reference.put(6, 3);
  EXPECT_EQ(bits.bit_count(), reference.bit_count());
  bits.flush();
  EXPECT_EQ(out, reference.bytes());
}

}  // namespace
