// Our writer as a contender: the corpus packed into one archive, each file an
// entry of its own (method 1, stored where packing does not pay).
#ifndef BENCH_OUR_PACKER_H
#define BENCH_OUR_PACKER_H

#include <cstdint>
#include <string>
#include <vector>

#include "bench/corpus.h"

namespace bench {

struct OurLevels {
  int default_level = 0;
  int best_level = 0;
};

// False when the writer is not part of this build (the harness then measures
// the peers only).
bool writer_available();
OurLevels our_levels();

// Writes the archive to a file (for the size and for the engine to read).
bool pack_corpus(const Corpus &corpus, int level, const std::string &archive_path, std::string &error);

// Writes the archive into memory, as the peers pack into memory; `archive`
// keeps its capacity between runs.
bool pack_corpus_in_memory(const Corpus &corpus, int level, std::vector<std::uint8_t> &archive, std::string &error);

}  // namespace bench

#endif  // BENCH_OUR_PACKER_H
