// The bit input: bit order, widths, the packed-size budget and a truncated archive.
#include <gtest/gtest.h>

#include <random>

#include "arj/bit_input.h"
#include "arj/engine_state.h"
#include "arj/engine_streams.h"
#include "tests/support/arj_fixtures.h"

namespace {

using namespace twtest;
using arj::engine;

// Opens `file_bytes` as the archive and starts the bit input at `offset` with
// a budget of `packed` bytes.
class BitInputTest : public ::testing::Test {
 protected:
  void start(const Bytes &file_bytes, std::int32_t packed, long offset = 0) {
    ASSERT_TRUE(arj::engine_start());
    arj::reset_streams();
    path_ = dir_.write("bits.bin", file_bytes);
    ASSERT_EQ(arj::open_archive(path_.c_str()), 0);
    arj::archive_seek(offset);
    engine().packed_remaining = packed;
    arj::bits_start();
  }
  void TearDown() override { arj::close_archive(); }

  TempDir dir_;
  std::string path_;
};

TEST_F(BitInputTest, TakesBitsMostSignificantFirst) {
  start({0xA5, 0x0F}, 2);
  EXPECT_EQ(arj::bit_buffer16(), 0xA50F);
  EXPECT_EQ(arj::bits_take(3), 5);
  EXPECT_EQ(arj::bits_take(9), 0x050);
  EXPECT_EQ(arj::bits_take(4), 0xF);
  EXPECT_EQ(arj::bit_buffer16(), 0);
}

TEST_F(BitInputTest, TakeZeroChangesNothingAndFillSixteenMovesAWholeWord) {
  start({0x12, 0x34, 0x56, 0x78}, 4);
  EXPECT_EQ(arj::bits_take(0), 0);
  EXPECT_EQ(arj::bit_buffer16(), 0x1234);
  arj::bits_fill(16);
  EXPECT_EQ(arj::bit_buffer16(), 0x5678);
  arj::bits_fill(4);
  EXPECT_EQ(arj::bit_buffer16(), 0x6780);
}

// Whatever the budget, exactly that many bytes are read from the archive and
// zero bits follow, although the file goes on with 0xFF bytes.
class BitBudgetTest : public BitInputTest, public ::testing::WithParamInterface<int> {};

TEST_P(BitBudgetTest, ReadsNoMoreThanThePackedSize) {
  const int budget = GetParam();
  Bytes file = {0x00, 0x00, 0x00};  // bytes before the entry's data
  for (int i = 0; i < budget; ++i) file.push_back(static_cast<std::uint8_t>(0x11 * (i % 15 + 1)));
  file.insert(file.end(), 100000, 0xFF);
  start(file, budget, 3);
  for (int i = 0; i < budget + 12; ++i) {
    const int expected = i < budget ? 0x11 * (i % 15 + 1) : 0;
    EXPECT_EQ(arj::bits_take(8), expected) << "byte " << i;
  }
  EXPECT_EQ(engine().packed_remaining, 0);
  EXPECT_EQ(arj::archive_tell(), 3 + budget);
}

INSTANTIATE_TEST_SUITE_P(Budgets, BitBudgetTest, ::testing::Values(0, 1, 2, 7, 8, 9, 100, 70000));

TEST_F(BitInputTest, TruncatedArchiveYieldsBytesOf255ThenZeros) {
  start({0x01, 0x02}, 5);
  const int expected[] = {0x01, 0x02, 0xFF, 0xFF, 0xFF, 0x00, 0x00};
  for (int e : expected) EXPECT_EQ(arj::bits_take(8), e);
  EXPECT_EQ(engine().packed_remaining, 0);
}

// Random widths across the archive buffer's refills agree with a plain
// bit-by-bit reading of the same bytes.
TEST_F(BitInputTest, RandomWidthsMatchAPlainReading) {
  std::mt19937 rng(12345);
  Bytes data(200000);
  for (auto &b : data) b = static_cast<std::uint8_t>(rng());
  start(data, static_cast<std::int32_t>(data.size()));
  std::size_t bit = 0;
  while (bit + 16 < data.size() * 8) {
    const int n = static_cast<int>(rng() % 17);
    std::uint32_t expected = 0;
    for (int i = 0; i < n; ++i, ++bit) expected = (expected << 1) | ((data[bit / 8] >> (7 - bit % 8)) & 1u);
    ASSERT_EQ(arj::bits_take(n), expected) << "at bit " << bit;
  }
}

}  // namespace
