#include "bench/corpus.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace bench {

namespace fs = std::filesystem;

std::uint64_t Corpus::total_bytes() const {
  std::uint64_t total = 0;
  for (const CorpusFile &file : files) total += file.data.size();
  return total;
}

static bool read_whole_file(const fs::path &path, std::vector<unsigned char> &data) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

static std::string upper_ascii(std::string text) {
  for (char &c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool load_corpus(const std::string &folder, Corpus &corpus, std::string &error) {
  corpus.files.clear();
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    error = "corpus folder '" + folder + "' does not exist";
    return false;
  }
  std::vector<fs::path> paths;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->is_regular_file(ec)) paths.push_back(it->path());
  }
  if (ec) {
    error = "cannot list '" + folder + "': " + ec.message();
    return false;
  }
  std::sort(paths.begin(), paths.end());

  std::set<std::string> seen_names;
  for (const fs::path &path : paths) {
    CorpusFile file;
    file.name = path.filename().string();
    file.path = path.string();
    if (!seen_names.insert(upper_ascii(file.name)).second) {
      error = "corpus file '" + file.path + "': another file has the same name";
      return false;
    }
    if (!read_whole_file(path, file.data)) {
      error = "cannot read corpus file '" + file.path + "'";
      return false;
    }
    corpus.files.push_back(std::move(file));
  }
  if (corpus.files.empty()) {
    error = "corpus folder '" + folder + "' holds no files";
    return false;
  }
  return true;
}

void trim_corpus(Corpus &corpus, std::size_t count) {
  if (count < corpus.files.size()) corpus.files.resize(count);
}

}  // namespace bench
