#include "arj/crc32.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

std::uint32_t bitwise_crc(std::uint32_t reg, const unsigned char *p, std::size_t n) {
  while (n-- > 0) {
    reg ^= *p++;
    for (int k = 0; k < 8; ++k) reg = (reg & 1u) ? (reg >> 1) ^ 0xEDB88320u : reg >> 1;
  }
  return reg;
}

TEST(Crc32, CheckValue) { EXPECT_EQ(arj::crc32_of("123456789", 9), 0xCBF43926u); }

// Every length up to a few folding blocks, at odd alignments and from a
// register already in use, so each path and every tail length is crossed.
TEST(Crc32, MatchesBitwiseForEveryLengthAndAlignment) {
  std::mt19937 rng(7);
  std::vector<unsigned char> data(4096 + 8);
  for (unsigned char &c : data) c = static_cast<unsigned char>(rng());
  for (std::size_t offset = 0; offset < 4; ++offset) {
    for (std::size_t length = 0; length <= 300; ++length) {
      const std::uint32_t start = 0x9E3779B9u * static_cast<std::uint32_t>(length + 1);
      ASSERT_EQ(arj::crc32_accumulate(start, data.data() + offset, length),
                bitwise_crc(start, data.data() + offset, length))
          << "length " << length << " offset " << offset;
    }
  }
  EXPECT_EQ(arj::crc32_accumulate(arj::kCrcStart, data.data() + 1, 4096),
            bitwise_crc(arj::kCrcStart, data.data() + 1, 4096));
}

TEST(Crc32, SplitAnywhereGivesTheSameRegister) {
  std::vector<unsigned char> data(1000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<unsigned char>(i * 131u + (i >> 3));
  const std::uint32_t whole = arj::crc32_accumulate(arj::kCrcStart, data.data(), data.size());
  for (std::size_t cut : {1u, 15u, 63u, 64u, 65u, 500u, 999u}) {
    const std::uint32_t head = arj::crc32_accumulate(arj::kCrcStart, data.data(), cut);
    EXPECT_EQ(arj::crc32_accumulate(head, data.data() + cut, data.size() - cut), whole) << "cut " << cut;
  }
}

}  // namespace
