// A seeded property test: random inputs, built to wander through the
// writer's corners (short and long matches, far and near, runs, noise, odd
// lengths), packed at random levels with both methods and given back by the
// engine byte for byte. Bounded by a count and a time budget.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "arj/arj_engine.h"
#include "arj/crc32.h"
#include "pack/compressor.h"
#include "pack/archive_writer.h"
#include "tests/support/arj_fixtures.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes random_input(std::mt19937 &rng) {
  const std::size_t sizes[] = {0, 1, 2, 3, 4, 255, 256, 257, 4096, 26623, 26624, 26625, 40000, 70000};
  std::size_t size = rng() % 2 ? sizes[rng() % 14] : rng() % 90000;
  Bytes out;
  out.reserve(size);
  const unsigned alphabet = 1 + rng() % 256;
  while (out.size() < size) {
    switch (rng() % 4) {
      case 0:  // noise over a small or large alphabet
        for (unsigned n = 1 + rng() % 64; n > 0 && out.size() < size; --n) {
          out.push_back(static_cast<std::uint8_t>(rng() % alphabet));
        }
        break;
      case 1:  // a run
        out.insert(out.end(), std::min<std::size_t>(size - out.size(), 1 + rng() % 600),
                   static_cast<std::uint8_t>(rng()));
        break;
      default:  // a copy from anywhere behind, overlapping or not
        if (!out.empty()) {
          const std::size_t back = 1 + rng() % std::min<std::size_t>(out.size(), rng() % 2 ? 40 : 32000);
          const std::size_t length = 1 + rng() % 400;
          const std::size_t from = out.size() - back;
          for (std::size_t i = 0; i < length && out.size() < size; ++i) out.push_back(out[from + i]);
        }
        break;
    }
  }
  return out;
}

TEST(WriterFuzzTest, EngineGivesBackEveryRandomInput) {
  std::mt19937 rng(20240611);
  twtest::TempDir dir;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int rounds = 0;
  for (; rounds < 150 && std::chrono::steady_clock::now() < deadline; ++rounds) {
    const Bytes input = random_input(rng);
    const int method = rng() % 2 ? 1 : 4;
    const int level = 1 + static_cast<int>(rng() % 9);
    // The compressor's own output, even where storing would be smaller.
    pack::PackedData packed;
    packed.method = method;
    packed.bytes = method == 1 ? pack::compress_lzh(input.data(), input.size(), level)
                               : pack::compress_method4(input.data(), input.size(), level);
    packed.crc = arj::crc32_of(input.data(), input.size());
    pack::MemorySink sink;
    pack::ArchiveWriter writer(sink, "F.ARJ", 0);
    ASSERT_TRUE(writer.add_packed("F", packed, input.size(), 0));
    ASSERT_TRUE(writer.finish());
    const std::string archive = dir.write("F.ARJ", sink.bytes);
    const std::string out = dir.file("OUT");
    char name[256] = {};
    ASSERT_EQ(arj_extract_entry(archive.c_str(), 1, out.c_str(), name), 0)
        << "round " << rounds << ", method " << method << ", level " << level << ", size " << input.size();
    ASSERT_EQ(twtest::read_file(out), input)
        << "round " << rounds << ", method " << method << ", level " << level << ", size " << input.size();
  }
  EXPECT_GE(rounds, 10);
}

}  // namespace
