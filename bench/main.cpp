// Side-by-side measurements of our writer and engine against zlib and
// libdeflate on one corpus, printed as ratios. Usage:
//   tw_bench --corpus DIR --work DIR [--out FILE] [--rounds N] [--pack-rounds N]
//            [--files N] [--only size,pack,unpack] [--note TEXT]
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "bench/contest.h"
#include "bench/corpus.h"
#include "bench/libdeflate_codec.h"
#include "bench/our_packer.h"
#include "bench/our_unpacker.h"
#include "bench/report.h"
#include "bench/zlib_codec.h"

namespace bench {
namespace {

struct Options {
  std::string corpus_folder;
  std::string work_folder;
  std::string results_path;
  std::string note;  // printed first: which tree and when, for comparing runs
  int rounds = 5;
  int pack_rounds = 3;
  std::size_t file_limit = 0;
  std::set<std::string> parts{"size", "pack", "unpack"};
};

void usage() {
  std::fprintf(stderr,
               "usage: tw_bench --corpus DIR --work DIR [--out FILE] [--rounds N] [--pack-rounds N]\n"
               "                [--files N] [--only size,pack,unpack] [--note TEXT]\n");
}

bool parse_count(const char *text, long low, long &value) {
  char *end = nullptr;
  value = std::strtol(text, &end, 10);
  return end != text && *end == '\0' && value >= low;
}

bool parse_options(int argc, char **argv, Options &options) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (i + 1 >= argc) {
      std::fprintf(stderr, "tw_bench: option '%s' needs a value\n", arg.c_str());
      return false;
    }
    const char *value = argv[++i];
    long number = 0;
    if (arg == "--corpus") {
      options.corpus_folder = value;
    } else if (arg == "--work") {
      options.work_folder = value;
    } else if (arg == "--note") {
      options.note = value;
    } else if (arg == "--out") {
      options.results_path = value;
    } else if (arg == "--rounds" && parse_count(value, 1, number)) {
      options.rounds = static_cast<int>(number);
    } else if (arg == "--pack-rounds" && parse_count(value, 1, number)) {
      options.pack_rounds = static_cast<int>(number);
    } else if (arg == "--files" && parse_count(value, 1, number)) {
      options.file_limit = static_cast<std::size_t>(number);
    } else if (arg == "--only") {
      options.parts.clear();
      std::stringstream list(value);
      for (std::string part; std::getline(list, part, ',');) {
        if (part != "size" && part != "pack" && part != "unpack") {
          std::fprintf(stderr, "tw_bench: unknown part '%s'\n", part.c_str());
          return false;
        }
        options.parts.insert(part);
      }
    } else {
      std::fprintf(stderr, "tw_bench: bad option or value '%s %s'\n", arg.c_str(), value);
      return false;
    }
  }
  if (options.corpus_folder.empty() || options.work_folder.empty()) {
    usage();
    return false;
  }
  return true;
}

std::string percent_of(std::uint64_t part, std::uint64_t whole) {
  return fixed(whole ? 100.0 * static_cast<double>(part) / static_cast<double>(whole) : 0.0, 2) + "%";
}

template <typename Compressor>
bool compress_each(Compressor &compressor, const Corpus &corpus, std::vector<std::vector<unsigned char>> &packed) {
  packed.resize(corpus.files.size());
  for (std::size_t i = 0; i < corpus.files.size(); ++i) {
    const std::vector<unsigned char> &data = corpus.files[i].data;
    if (!compressor.compress(data.data(), data.size(), packed[i])) return false;
  }
  return true;
}

std::uint64_t total_size(const std::vector<std::vector<unsigned char>> &buffers) {
  std::uint64_t total = 0;
  for (const std::vector<unsigned char> &buffer : buffers) total += buffer.size();
  return total;
}

// Packs the corpus with our writer and checks the archive holds the corpus.
bool pack_and_list(const Corpus &corpus, int level, const std::string &archive_path, ArchiveListing &listing,
                   std::string &error) {
  if (!pack_corpus(corpus, level, archive_path, error) || !list_archive(archive_path, listing, error)) return false;
  if (listing.entries.size() != corpus.files.size()) {
    error = "archive '" + archive_path + "' holds " + std::to_string(listing.entries.size()) + " entries, not " +
            std::to_string(corpus.files.size());
    return false;
  }
  for (std::size_t i = 0; i < corpus.files.size(); ++i) {
    if (listing.entries[i].original_size != corpus.files[i].data.size()) {
      error = "archive '" + archive_path + "': entry '" + listing.entries[i].name + "' has the wrong original size";
      return false;
    }
  }
  return true;
}

bool write_file(const std::string &path, const unsigned char *data, std::size_t length) {
  std::FILE *file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = length == 0 || std::fwrite(data, 1, length, file) == length;
  return std::fclose(file) == 0 && written;
}

class Benchmark {
 public:
  Benchmark(const Options &options, const Corpus &corpus, Report &report)
      : options_(options), corpus_(corpus), report_(report) {}

  bool run() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(options_.work_folder + "/files", ec);
    if (ec) return fail("cannot make work folder '" + options_.work_folder + "': " + ec.message());
    default_archive_ = options_.work_folder + "/default.arj";

    if (!options_.note.empty()) report_.line(options_.note);
    report_.line("Corpus: " + std::to_string(corpus_.files.size()) + " files, " +
                 std::to_string(corpus_.total_bytes()) + " bytes. Every file is packed on its own by every packer.");
    if (writer_available()) {
      levels_ = our_levels();
      report_.line("Our levels: default " + std::to_string(levels_.default_level) + ", best " +
                   std::to_string(levels_.best_level) + ".");
    } else {
      report_.line("Our writer is not in this build: only the peers are measured.");
    }
    report_.line("Timings: best of interleaved rounds (median in brackets).");

    if (options_.parts.count("size") && !measure_size()) return false;
    if (options_.parts.count("pack") && !measure_packing()) return false;
    if (options_.parts.count("unpack") && !measure_unpacking()) return false;
    return true;
  }

 private:
  bool fail(const std::string &message) {
    report_.line("FAILED: " + message);
    return false;
  }

  bool ensure_default_archive() {
    if (default_packed_) return true;
    std::string error;
    if (!pack_and_list(corpus_, levels_.default_level, default_archive_, default_listing_, error)) return fail(error);
    default_packed_ = true;
    return true;
  }

  bool measure_size() {
    const std::uint64_t input = corpus_.total_bytes();
    report_.heading("Size (packed data bytes; our entry headers are not counted, the peers write raw deflate "
                    "streams without wrapper)");

    ZlibDeflater zlib9(9);
    std::vector<std::vector<unsigned char>> packed;
    if (!zlib9.ok() || !compress_each(zlib9, corpus_, packed)) return fail("zlib level 9");
    const std::uint64_t zlib9_bytes = total_size(packed);
    report_.line("  zlib -9          " + std::to_string(zlib9_bytes) + " bytes (" + percent_of(zlib9_bytes, input) +
                 " of input)");

    LibdeflateCompressor libdeflate12(12);
    if (!libdeflate12.ok() || !compress_each(libdeflate12, corpus_, packed)) return fail("libdeflate level 12");
    const std::uint64_t libdeflate12_bytes = total_size(packed);
    report_.line("  libdeflate -12   " + std::to_string(libdeflate12_bytes) + " bytes (" +
                 percent_of(libdeflate12_bytes, input) + ")");

    if (!writer_available()) return true;
    if (!ensure_default_archive()) return false;
    const std::uint64_t ours_default = default_listing_.packed_bytes();
    report_.line("  ours level " + std::to_string(levels_.default_level) + "     " + std::to_string(ours_default) +
                 " bytes (" + percent_of(ours_default, input) + "); archive file " +
                 std::to_string(std::filesystem::file_size(default_archive_)) + " bytes with headers");

    ArchiveListing best_listing;
    std::string error;
    const std::string best_archive = options_.work_folder + "/best.arj";
    if (!pack_and_list(corpus_, levels_.best_level, best_archive, best_listing, error)) return fail(error);
    const std::uint64_t ours_best = best_listing.packed_bytes();
    report_.line("  ours level " + std::to_string(levels_.best_level) + "     " + std::to_string(ours_best) +
                 " bytes (" + percent_of(ours_best, input) + ")");

    const double default_ratio = static_cast<double>(ours_default) / static_cast<double>(zlib9_bytes);
    const double best_ratio = static_cast<double>(ours_best) / static_cast<double>(libdeflate12_bytes);
    report_.line("  RATIO size ours default / zlib -9        = " + fixed(default_ratio, 3) +
                 "  (target <= 1.00: " + verdict_at_most(default_ratio, 1.0) + ")");
    report_.line("  RATIO size ours best / libdeflate -12    = " + fixed(best_ratio, 3));
    return true;
  }

  bool measure_packing() {
    const std::uint64_t input = corpus_.total_bytes();
    report_.heading("Packing speed (input bytes per second)");
    if (!writer_available()) {
      report_.line("  skipped: our writer is not in this build");
      return true;
    }
    ZlibDeflater zlib6(6);
    if (!zlib6.ok()) return fail("zlib level 6");
    std::vector<std::vector<unsigned char>> packed;
    std::string pack_error;
    std::vector<std::uint8_t> archive;
    const int level = levels_.default_level;
    std::vector<Contender> contenders{
        {"ours level " + std::to_string(level) + " to memory",
         [&] { return pack_corpus_in_memory(corpus_, level, archive, pack_error); }},
        {"zlib -6 to memory", [&] { return compress_each(zlib6, corpus_, packed); }},
    };
    std::vector<Timing> timings;
    std::string error;
    if (!run_contest(contenders, options_.pack_rounds, timings, error)) return fail(error + " " + pack_error);
    for (const Timing &timing : timings) print_timing(timing, input);
    const double bytes = static_cast<double>(input);
    print_speed_ratio("packing speed ours default / zlib -6", speed_ratio(timings[0], bytes, timings[1], bytes),
                      true);
    return true;
  }

  bool measure_unpacking() {
    const std::uint64_t input = corpus_.total_bytes();
    report_.heading("Unpacking speed (output bytes per second; the peers unpack zlib -6 streams)");

    ZlibDeflater zlib6(6);
    std::vector<std::vector<unsigned char>> deflated;
    if (!zlib6.ok() || !compress_each(zlib6, corpus_, deflated)) return fail("zlib level 6");
    std::vector<std::vector<unsigned char>> peer_output(corpus_.files.size());
    for (std::size_t i = 0; i < corpus_.files.size(); ++i) peer_output[i].resize(corpus_.files[i].data.size());

    ZlibInflater inflater;
    LibdeflateDecompressor libdeflate;
    if (!inflater.ok() || !libdeflate.ok()) return fail("peer decompressor set-up");
    auto run_inflate = [&] {
      for (std::size_t i = 0; i < deflated.size(); ++i) {
        if (!inflater.decompress(deflated[i].data(), deflated[i].size(), peer_output[i].data(), peer_output[i].size()))
          return false;
      }
      return true;
    };
    auto libdeflate_one = [&](std::size_t i) {
      return libdeflate.decompress(deflated[i].data(), deflated[i].size(), peer_output[i].data(),
                                   peer_output[i].size());
    };
    auto run_libdeflate = [&] {
      for (std::size_t i = 0; i < deflated.size(); ++i) {
        if (!libdeflate_one(i)) return false;
      }
      return true;
    };
    // Context for our figures: our engine must check every entry's CRC-32 and,
    // through arj_extract_entry, write a file per entry; the plain peers do neither.
    std::uint32_t crc_sink = 0;
    auto run_libdeflate_crc = [&] {
      for (std::size_t i = 0; i < deflated.size(); ++i) {
        if (!libdeflate_one(i)) return false;
        crc_sink ^= libdeflate_crc(peer_output[i].data(), peer_output[i].size());
      }
      return true;
    };
    const std::string peer_folder = options_.work_folder + "/peer_files";
    auto run_libdeflate_files = [&] {
      for (std::size_t i = 0; i < deflated.size(); ++i) {
        if (!libdeflate_one(i) ||
            !write_file(peer_folder + "/" + corpus_.files[i].name, peer_output[i].data(), peer_output[i].size()))
          return false;
      }
      return true;
    };
    std::error_code ec;
    std::filesystem::create_directories(peer_folder, ec);
    if (!run_inflate() || !same_as_corpus(peer_output)) return fail("zlib inflate does not give back the corpus");
    if (!run_libdeflate() || !same_as_corpus(peer_output)) return fail("libdeflate does not give back the corpus");

    enum { kZlib, kLibdeflate, kLibdeflateCrc, kLibdeflateFiles, kOursMemory, kOursFiles };
    std::vector<Contender> contenders{
        {"zlib inflate to memory", run_inflate},
        {"libdeflate to memory", run_libdeflate},
        {"  context: libdeflate + CRC-32", run_libdeflate_crc},
        {"  context: libdeflate to files", run_libdeflate_files},
    };
    std::string our_error;
    MemoryUnpacker memory;
    const std::string files_folder = options_.work_folder + "/files";
    std::uint64_t our_output = 0;
    if (writer_available()) {
      if (!ensure_default_archive()) return false;
      if (!memory.unpack(default_archive_, our_error)) return fail(our_error);
      if (!outputs_match(memory.outputs(), "to memory")) return false;
      if (!unpack_to_files(default_archive_, default_listing_, files_folder, our_error)) return fail(our_error);
      if (!files_match(files_folder)) return false;
      our_output = memory.output_bytes();
      contenders.push_back({"ours to memory (walk_archive)", [&] { return memory.unpack(default_archive_, our_error); }});
      contenders.push_back({"ours to files (arj_extract_entry)", [&] {
                              return unpack_to_files(default_archive_, default_listing_, files_folder, our_error);
                            }});
    }

    std::vector<Timing> timings;
    std::string error;
    if (!run_contest(contenders, options_.rounds, timings, error)) return fail(error + " " + our_error);
    for (std::size_t i = 0; i < timings.size(); ++i) print_timing(timings[i], i < kOursMemory ? input : our_output);
    if (!writer_available()) return true;

    const double peer_bytes = static_cast<double>(input);
    const double our_bytes = static_cast<double>(our_output);
    auto ratio = [&](int ours, int peer) { return speed_ratio(timings[ours], our_bytes, timings[peer], peer_bytes); };
    print_speed_ratio("unpacking speed ours to memory / libdeflate", ratio(kOursMemory, kLibdeflate), true);
    print_speed_ratio("unpacking speed ours to files / libdeflate ", ratio(kOursFiles, kLibdeflate), true);
    print_speed_ratio("unpacking speed ours to memory / zlib      ", ratio(kOursMemory, kZlib), false);
    print_speed_ratio("unpacking speed ours to files / zlib       ", ratio(kOursFiles, kZlib), false);
    print_speed_ratio("  context: ours to memory / libdeflate + CRC-32", ratio(kOursMemory, kLibdeflateCrc), false);
    print_speed_ratio("  context: ours to files / libdeflate to files ", ratio(kOursFiles, kLibdeflateFiles), false);
    return true;
  }

  void print_speed_ratio(const std::string &what, const SpeedRatio &ratio, bool has_target) {
    std::string text = "  RATIO " + what + " = " + fixed(ratio.from_best, 3) + "  (round by round " +
                       fixed(ratio.paired_median, 3) + ")";
    if (has_target) text += "  target >= 1.00: " + verdict_at_least(ratio.from_best, 1.0);
    report_.line(text);
  }

  void print_timing(const Timing &timing, std::uint64_t bytes) {
    std::string name = timing.name;
    name.resize(std::max<std::size_t>(name.size(), 36), ' ');
    report_.line("  " + name + megabytes_per_second(bytes, timing.best_seconds) + "  (" +
                 megabytes_per_second(bytes, timing.median_seconds) + ")");
  }

  bool same_as_corpus(const std::vector<std::vector<unsigned char>> &outputs) const {
    for (std::size_t i = 0; i < corpus_.files.size(); ++i) {
      if (outputs[i] != corpus_.files[i].data) return false;
    }
    return true;
  }

  bool outputs_match(const std::vector<std::vector<unsigned char>> &outputs, const std::string &how) {
    if (outputs.size() != corpus_.files.size()) return fail("ours " + how + ": wrong number of entries");
    for (std::size_t i = 0; i < corpus_.files.size(); ++i) {
      if (outputs[i] != expected_output(default_listing_.entries[i], corpus_.files[i].data)) {
        return fail("ours " + how + ": entry '" + default_listing_.entries[i].name + "' differs from its file");
      }
    }
    return true;
  }

  bool files_match(const std::string &folder) {
    std::vector<std::vector<unsigned char>> outputs;
    for (const arj::EntryInfo &entry : default_listing_.entries) {
      std::ifstream in(folder + "/" + entry.name, std::ios::binary);
      outputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return outputs_match(outputs, "to files");
  }

  const Options &options_;
  const Corpus &corpus_;
  Report &report_;
  OurLevels levels_;
  std::string default_archive_;
  ArchiveListing default_listing_;
  bool default_packed_ = false;
};

}  // namespace
}  // namespace bench

int main(int argc, char **argv) {
  bench::Options options;
  if (!bench::parse_options(argc, argv, options)) return 2;

  bench::Corpus corpus;
  std::string error;
  if (!bench::load_corpus(options.corpus_folder, corpus, error)) {
    std::fprintf(stderr, "tw_bench: %s\n", error.c_str());
    return 1;
  }
  if (options.file_limit) bench::trim_corpus(corpus, options.file_limit);

  bench::Report report;
  const bool ok = bench::Benchmark(options, corpus, report).run();
  if (!options.results_path.empty() && !report.save(options.results_path)) {
    std::fprintf(stderr, "tw_bench: cannot write '%s'\n", options.results_path.c_str());
    return 1;
  }
  return ok ? 0 : 1;
}
