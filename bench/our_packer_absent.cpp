// Stands in for our writer in a tree that does not have it yet, so that the
// peers can still be measured.
#include "bench/our_packer.h"

namespace bench {

bool writer_available() { return false; }

OurLevels our_levels() { return {}; }

bool pack_corpus(const Corpus &, int, const std::string &, std::string &error) {
  error = "our writer is not in this build";
  return false;
}

}  // namespace bench

namespace bench {

bool pack_corpus_in_memory(const Corpus &, int, std::vector<std::uint8_t> &, std::string &error) {
  error = "our writer is not in this build";
  return false;
}

}  // namespace bench
