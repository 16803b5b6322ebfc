// Test-side writers for archives and packed streams, so that every fixture is
// made here, byte by byte, with correct CRCs (or deliberately wrong ones).
//
//   BitWriter          bits, most significant first, as the decoders read them
//   HeaderFields       every field of a basic header; header_block() frames it
//   Entry / archive()  main header + entries + end marker
//   LzhBlock           one block of a method 1-3 stream (tokens, optional code lengths)
//   method4_stream()   a method-4 stream from tokens
//   lzh_compress(), method4_compress()   simple greedy packers for round trips
//   expand_tokens()    the bytes a token list stands for (the reference)
//   TempDir            a folder removed again at the end of the test
#ifndef TESTS_SUPPORT_ARJ_FIXTURES_H
#define TESTS_SUPPORT_ARJ_FIXTURES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace twtest {

using Bytes = std::vector<std::uint8_t>;

Bytes to_bytes(const std::string &text);
std::uint32_t crc_of(const Bytes &data);

class BitWriter {
 public:
  // Appends the low `width` bits of value (0 to 32), most significant first.
  void put(std::uint32_t value, int width);
  // Appends a run of `count` 1 bits.
  void put_ones(int count);
  std::size_t bit_count() const { return bits_; }
  // The bytes written so far, the last one padded with 0 bits.
  Bytes bytes() const { return out_; }

 private:
  Bytes out_;
  std::size_t bits_ = 0;
};

struct HeaderFields {
  std::uint8_t first_size = 30;
  std::uint8_t archiver_version = 6;
  std::uint8_t min_version = 1;
  std::uint8_t origin_os = 0;
  std::uint8_t header_flags = 0x10;
  std::uint8_t pack_method = 0;
  std::uint8_t content_type = 0;
  std::uint32_t modified_time = 0;
  std::uint32_t packed_size = 0;
  std::uint32_t original_size = 0;
  std::uint32_t data_crc = 0;
  std::uint16_t name_offset = 0;
  std::uint16_t access_mode = 0;
  std::uint16_t origin_data = 0;
  std::string name;
  std::string comment;
};

// The basic header: fixed fields (padded with zeros up to first_size), the
// name and the comment, each with its NUL.
Bytes basic_header(const HeaderFields &fields);
// Marker, size, basic header, its CRC (+ crc_delta to break it), extended
// headers (each with its size and a CRC) and the closing 0.
Bytes header_block(const Bytes &basic, const std::vector<Bytes> &extended = {}, std::uint32_t crc_delta = 0);
Bytes header_block(const HeaderFields &fields);
Bytes end_marker();

struct Entry {
  HeaderFields header;
  Bytes packed;
};

// An entry whose sizes and CRC match `original`, packed as given.
Entry make_entry(const std::string &name, int method, const Bytes &original, const Bytes &packed);
Entry stored_entry(const std::string &name, const Bytes &data);
// Main header (content type 2), each entry's header block and data, end marker.
Bytes archive(const std::vector<Entry> &entries);

// A literal byte, or a match of `length` bytes with distance value `distance`
// (the byte distance + 1 back).
struct Token {
  bool is_match = false;
  std::uint32_t value = 0;  // literal byte, or match length
  std::uint32_t distance = 0;
};
Token literal(std::uint8_t byte);
Token match(std::uint32_t length, std::uint32_t distance);

// What a stream of tokens expands to, with a window of zeros before the start.
Bytes expand_tokens(const std::vector<Token> &tokens);
// Greedy literal/match tokens for `data`, distances up to `max_distance`.
std::vector<Token> greedy_tokens(const Bytes &data, std::uint32_t max_distance);
// Canonical codes of a set of lengths (0 = absent), left in the low bits.
std::vector<std::uint32_t> canonical_codes(const std::vector<std::uint8_t> &lengths);
// Lengths that form a complete code over the symbols used (count > 0), all
// within 1 bit of each other. One symbol used gets length 1 (the caller writes
// a one-symbol code instead).
std::vector<std::uint8_t> balanced_lengths(const std::vector<std::size_t> &counts);

struct LzhBlock {
  std::vector<Token> tokens;
  // 510 literal/length and 17 distance code lengths; empty: derived from the
  // tokens. A code with one used symbol is written as a one-symbol code.
  std::vector<std::uint8_t> lit_len_lengths;
  std::vector<std::uint8_t> distance_lengths;
  long block_size = -1;  // the 16-bit size field; -1: the token count
  // For damaged streams: write the code as a one-symbol code of this symbol
  // (any 5- or 9-bit value, inside the alphabet or not) instead.
  int code_length_single = -1;
  int lit_len_single = -1;
  int distance_single = -1;
};
void write_lzh_block(BitWriter &bits, const LzhBlock &block);
Bytes lzh_stream(const std::vector<LzhBlock> &blocks);
Bytes lzh_compress(const Bytes &data, std::size_t tokens_per_block = 20000);

void write_method4_token(BitWriter &bits, const Token &token);
Bytes method4_stream(const std::vector<Token> &tokens);
Bytes method4_compress(const Bytes &data);

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir &) = delete;
  TempDir &operator=(const TempDir &) = delete;
  const std::string &path() const { return path_; }
  // Writes `data` to a file in the folder and returns its path.
  std::string write(const std::string &name, const Bytes &data) const;
  std::string file(const std::string &name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

Bytes read_file(const std::string &path);
bool file_exists(const std::string &path);

}  // namespace twtest

#endif  // TESTS_SUPPORT_ARJ_FIXTURES_H
