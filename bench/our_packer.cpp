#include "bench/our_packer.h"

#include <cstdio>

#include "pack/archive_writer.h"
#include "pack/compression_level.h"

namespace bench {

namespace {

// A fixed time stamp keeps archives of the same corpus byte-identical.
constexpr std::uint32_t kDosTime = (46u << 25) | (1u << 21) | (1u << 16);

class FileSink : public pack::ByteSink {
 public:
  explicit FileSink(const std::string &path) : file_(std::fopen(path.c_str(), "wb")) {}
  ~FileSink() override {
    if (file_) std::fclose(file_);
  }
  FileSink(const FileSink &) = delete;
  FileSink &operator=(const FileSink &) = delete;

  bool is_open() const { return file_ != nullptr; }
  bool write(const std::uint8_t *data, std::size_t length) override {
    return length == 0 || std::fwrite(data, 1, length, file_) == length;
  }
  bool close() {
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    return ok;
  }

 private:
  std::FILE *file_;
};

class VectorSink : public pack::ByteSink {
 public:
  explicit VectorSink(std::vector<std::uint8_t> &bytes) : bytes_(bytes) { bytes_.clear(); }
  bool write(const std::uint8_t *data, std::size_t length) override {
    bytes_.insert(bytes_.end(), data, data + length);
    return true;
  }

 private:
  std::vector<std::uint8_t> &bytes_;
};

bool write_archive(const Corpus &corpus, int level, pack::ByteSink &sink, std::string &error) {
  pack::ArchiveWriter writer(sink, "BENCH.ARJ", kDosTime);
  for (const CorpusFile &file : corpus.files) {
    if (!writer.add(file.name, file.data.data(), file.data.size(), kDosTime, 1, level)) {
      error = "writing entry '" + file.name + "' failed";
      return false;
    }
  }
  if (!writer.finish()) {
    error = "writing the end of the archive failed";
    return false;
  }
  return true;
}

}  // namespace

bool writer_available() { return true; }

OurLevels our_levels() { return {pack::kDefaultLevel, pack::kMaxLevel}; }

bool pack_corpus(const Corpus &corpus, int level, const std::string &archive_path, std::string &error) {
  FileSink sink(archive_path);
  if (!sink.is_open()) {
    error = "cannot create '" + archive_path + "'";
    return false;
  }
  if (!write_archive(corpus, level, sink, error)) return false;
  if (!sink.close()) {
    error = "cannot finish writing '" + archive_path + "'";
    return false;
  }
  return true;
}

bool pack_corpus_in_memory(const Corpus &corpus, int level, std::vector<std::uint8_t> &archive, std::string &error) {
  VectorSink sink(archive);
  return write_archive(corpus, level, sink, error);
}

}  // namespace bench
