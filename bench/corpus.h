// The benchmark corpus held in memory: every regular file under a folder, in
// a fixed order so that runs compare like with like.
#ifndef BENCH_CORPUS_H
#define BENCH_CORPUS_H

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct CorpusFile {
  std::string name;  // plain file name, as the archive stores it
  std::string path;  // where it was read from
  std::vector<unsigned char> data;
};

struct Corpus {
  std::vector<CorpusFile> files;
  std::uint64_t total_bytes() const;
};

// Reads every regular file below `folder` (sorted by path). Fails with a
// message when the folder is missing, empty or two files share a plain name
// (the archive keeps plain names only, so they would collide).
bool load_corpus(const std::string &folder, Corpus &corpus, std::string &error);

// Keeps only the first `count` files (for short profiling runs).
void trim_corpus(Corpus &corpus, std::size_t count);

}  // namespace bench

#endif  // BENCH_CORPUS_H
