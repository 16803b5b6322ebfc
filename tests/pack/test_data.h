// Inputs of the kinds a writer meets, made from a seed.
#ifndef TESTS_PACK_TEST_DATA_H
#define TESTS_PACK_TEST_DATA_H

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace packtest {

using Bytes = std::vector<std::uint8_t>;

enum class Kind { kRandom, kRuns, kText, kBinary, kOneByteRepeated };

inline Bytes make_data(Kind kind, std::size_t size, std::uint32_t seed) {
  std::mt19937 rng(seed);
  Bytes out;
  out.reserve(size);
  switch (kind) {
    case Kind::kRandom:
      while (out.size() < size) out.push_back(static_cast<std::uint8_t>(rng()));
      break;
    case Kind::kOneByteRepeated:
      out.assign(size, 0x41);
      break;
    case Kind::kRuns:
      while (out.size() < size) {
        const auto byte = static_cast<std::uint8_t>(rng() % 4);
        const std::size_t run = 1 + rng() % 300;
        for (std::size_t i = 0; i < run && out.size() < size; ++i) out.push_back(byte);
      }
      break;
    case Kind::kText: {
      static const char *const kWords[] = {"the ",   "archive ", "entry ",   "window ", "of ",
                                           "bytes\n", "packed ",  "install ", "setup, ", "a "};
      while (out.size() < size) {
        const char *w = kWords[rng() % 10];
        for (; *w != '\0' && out.size() < size; ++w) out.push_back(static_cast<std::uint8_t>(*w));
      }
      break;
    }
    case Kind::kBinary:
      // Records with small fields and copies from far back, like code and tables.
      while (out.size() < size) {
        if (out.size() > 64 && rng() % 3 == 0) {
          const std::size_t back = 1 + rng() % std::min<std::size_t>(out.size(), 30000);
          const std::size_t length = 3 + rng() % 40;
          const std::size_t from = out.size() - back;
          for (std::size_t i = 0; i < length && out.size() < size; ++i) out.push_back(out[from + i]);
        } else {
          out.push_back(static_cast<std::uint8_t>(rng() % 2 ? rng() % 16 : rng()));
        }
      }
      break;
  }
  return out;
}

}  // namespace packtest

#endif  // TESTS_PACK_TEST_DATA_H
