// libFuzzer target: the input is an archive file, run through both entry
// points and the walk. Build with -DTW_BUILD_FUZZ=ON and clang++.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "arj/archive_reader.h"
#include "arj/arj_engine.h"

namespace {

struct NullSink : arj::EntrySink {
  bool write(const unsigned char *, std::size_t) override { return true; }
};

struct ExtractAll : arj::EntryVisitor {
  NullSink sink;
  bool on_entry(const arj::EntryInfo &, arj::EntryAction &action) override {
    action.sink = &sink;
    return true;
  }
  void on_entry_done(const arj::EntryInfo &, int result) override {
    if (result == 107) std::abort();
  }
};

std::string scratch(const char *what) {
  return std::string("/tmp/tw-arj-fuzz-") + std::to_string(getpid()) + "-" + what;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  static const std::string archive = scratch("in.arj");
  static const std::string output = scratch("out");
  std::FILE *f = std::fopen(archive.c_str(), "wb");
  if (!f) return 0;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
  const int count = arj_count_entries(archive.c_str());
  for (int entry = 1; entry <= 3 && entry <= count + 1; ++entry) {
    char name[256];
    const int r = arj_extract_entry(archive.c_str(), entry, output.c_str(), name);
    if (r == 107) std::abort();
  }
  ExtractAll all;
  arj::walk_archive(archive.c_str(), 0, all, nullptr);
  return 0;
}
