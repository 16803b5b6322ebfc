// Seeded random and mutated archives through both entry points and the walk,
// under the sanitizers: whatever the input, the engine ends with one of its
// result codes and stays inside its buffers. Bounded in time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <random>
#include <set>

#include "arj/archive_reader.h"
#include "tests/arj/engine_test_util.h"

namespace {

using namespace twtest;
using Clock = std::chrono::steady_clock;

constexpr auto kBudget = std::chrono::seconds(4);

bool is_result_code(int r) { return r == 0 || r == 1 || (r >= 100 && r <= 114 && r != 107); }

struct NullSink : arj::EntrySink {
  bool write(const unsigned char *, std::size_t) override { return true; }
};

struct ExtractAll : arj::EntryVisitor {
  NullSink sink;
  std::vector<int> results;
  bool on_entry(const arj::EntryInfo &, arj::EntryAction &action) override {
    action.sink = &sink;
    return true;
  }
  void on_entry_done(const arj::EntryInfo &, int result) override { results.push_back(result); }
};

class Rng {
 public:
  explicit Rng(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t operator()(std::uint32_t bound) { return static_cast<std::uint32_t>(engine_() % bound); }
  Bytes bytes(std::size_t n, std::uint32_t alphabet = 256) {
    Bytes b(n);
    for (auto &x : b) x = static_cast<std::uint8_t>((*this)(alphabet));
    return b;
  }

 private:
  std::mt19937 engine_;
};

// Runs everything the engine offers on one file and checks the results.
void exercise(const TempDir &dir, const Bytes &file_bytes) {
  const std::string path = dir.write("F.ARJ", file_bytes);
  const int count = arj_count_entries(path.c_str());
  ASSERT_TRUE(count >= 0) << count;
  const int last = count >= 100 ? 2 : count + 1;
  for (int entry = 1; entry <= last; ++entry) {
    char name[256];
    const int r = arj_extract_entry(path.c_str(), entry, dir.file("OUT").c_str(), name);
    ASSERT_TRUE(is_result_code(r)) << r;
    ASSERT_LT(std::strlen(name), 256u);
  }
  ExtractAll all;
  const int walked = arj::walk_archive(path.c_str(), 0, all, nullptr);
  ASSERT_TRUE(is_result_code(walked)) << walked;
  for (int r : all.results) ASSERT_TRUE(is_result_code(r)) << r;
}

Bytes sample_archive(Rng &rng) {
  std::vector<Entry> entries;
  for (int i = 0; i < 4; ++i) {
    const Bytes data = rng.bytes(1 + rng(3000), 1 + rng(255));
    switch (i) {
      case 0: entries.push_back(stored_entry("S.BIN", data)); break;
      case 1: entries.push_back(make_entry("L.BIN", 1, data, lzh_compress(data, 300))); break;
      case 2: entries.push_back(make_entry("M.BIN", 4, data, method4_compress(data))); break;
      default: {
        Entry text = make_entry("T.TXT", 3, data, lzh_compress(data));
        text.header.content_type = 1;
        entries.push_back(text);
      }
    }
  }
  return archive(entries);
}

TEST(EngineFuzz, MutatedArchives) {
  Rng rng(20261211);
  TempDir dir;
  const auto stop = Clock::now() + kBudget;
  int rounds = 0;
  while (Clock::now() < stop) {
    Bytes bytes = sample_archive(rng);
    const int mutations = 1 + static_cast<int>(rng(8));
    for (int m = 0; m < mutations; ++m) {
      const std::size_t at = rng(static_cast<std::uint32_t>(bytes.size()));
      switch (rng(4)) {
        case 0: bytes[at] = static_cast<std::uint8_t>(rng(256)); break;
        case 1: bytes[at] ^= static_cast<std::uint8_t>(1u << rng(8)); break;
        case 2: bytes.resize(at + 1); break;
        default: bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<std::uint8_t>(rng(256)));
      }
    }
    exercise(dir, bytes);
    if (HasFatalFailure()) return;
    ++rounds;
  }
  EXPECT_GT(rounds, 10);
}

// Random packed data under good headers: the decoders meet every kind of
// damage. Methods 1-3 may end in 102; method 4 reads any bits as tokens.
TEST(EngineFuzz, RandomPackedStreams) {
  Rng rng(7);
  TempDir dir;
  const auto stop = Clock::now() + kBudget;
  std::set<int> seen;
  while (Clock::now() < stop) {
    const int method = 1 + static_cast<int>(rng(4));
    Bytes packed = rng.bytes(rng(600));
    // Some streams start like a real block, so that decoding gets further.
    if (method < 4 && packed.size() > 8 && rng(2)) {
      Bytes head = lzh_compress(rng.bytes(40, 4));
      std::copy(head.begin(), head.begin() + static_cast<long>(std::min(head.size(), packed.size() / 2)), packed.begin());
    }
    Entry e = make_entry("R.BIN", method, {}, packed);
    e.header.original_size = rng(70000);
    const std::string path = dir.write("R.ARJ", archive({e}));
    char name[256];
    const int r = arj_extract_entry(path.c_str(), 1, dir.file("OUT").c_str(), name);
    ASSERT_TRUE(r == 0 || r == 106 || (method < 4 && r == 102)) << "method " << method << " result " << r;
    seen.insert(r);
  }
  EXPECT_TRUE(seen.count(102));
  EXPECT_TRUE(seen.count(106));
}

// Random header fields under a correct header CRC.
TEST(EngineFuzz, RandomHeaderFields) {
  Rng rng(99);
  TempDir dir;
  const auto stop = Clock::now() + kBudget;
  while (Clock::now() < stop) {
    std::vector<Entry> entries;
    for (int i = 0, n = 1 + static_cast<int>(rng(3)); i < n; ++i) {
      Bytes basic = rng.bytes(rng(120));
      if (basic.size() > 20) {
        basic[2] = static_cast<std::uint8_t>(rng(5));      // min_version mostly acceptable
        basic[4] = static_cast<std::uint8_t>(rng(2) * 0x10);
        basic[5] = static_cast<std::uint8_t>(rng(6));
        basic[6] = static_cast<std::uint8_t>(rng(3));
        for (int k = 12; k < 20; ++k) basic[k] = static_cast<std::uint8_t>(k % 4 < 2 ? rng(256) : 0);  // sizes < 64 KiB
      }
      Entry e;
      e.packed = rng.bytes(rng(200));
      Bytes block = header_block(basic, {}, 0);
      Bytes bytes = block;
      bytes.insert(bytes.end(), e.packed.begin(), e.packed.end());
      entries.push_back(Entry{HeaderFields{}, bytes});
    }
    Bytes file = header_block(basic_header(HeaderFields{}));
    for (const Entry &e : entries) file.insert(file.end(), e.packed.begin(), e.packed.end());
    const Bytes end = end_marker();
    file.insert(file.end(), end.begin(), end.end());
    exercise(dir, file);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
