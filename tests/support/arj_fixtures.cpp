#include "tests/support/arj_fixtures.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <unistd.h>

#include "arj/crc32.h"

namespace twtest {
namespace {

void put_u16(Bytes &out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put_u32(Bytes &out, std::uint32_t v) {
  put_u16(out, v & 0xFFFFu);
  put_u16(out, v >> 16);
}

void append(Bytes &out, const Bytes &more) { out.insert(out.end(), more.begin(), more.end()); }

// Writes the lengths of a short code: count, then each length as 3 bits (7 and
// more as 111, a run of 1 bits and a 0), with the 2-bit zero run after the third.
void write_short_lengths(BitWriter &bits, const std::vector<std::uint8_t> &lengths, bool zero_run_field) {
  int count = 0;
  for (int i = 0; i < static_cast<int>(lengths.size()); ++i)
    if (lengths[i] != 0) count = i + 1;
  // A count of 0 would announce a one-symbol code: an empty code is one length 0.
  if (count == 0) count = 1;
  bits.put(static_cast<std::uint32_t>(count), 5);
  int i = 0;
  while (i < count) {
    const int v = lengths[i++];
    if (v < 7) {
      bits.put(static_cast<std::uint32_t>(v), 3);
    } else {
      bits.put(7, 3);
      bits.put_ones(v - 7);
      bits.put(0, 1);
    }
    if (zero_run_field && i == 3) {
      int zeros = 0;
      while (zeros < 3 && i + zeros < count && lengths[i + zeros] == 0) ++zeros;
      bits.put(static_cast<std::uint32_t>(zeros), 2);
      i += zeros;
    }
  }
}

int used_symbols(const std::vector<std::size_t> &counts, std::uint32_t *only) {
  int used = 0;
  for (std::size_t s = 0; s < counts.size(); ++s)
    if (counts[s]) {
      ++used;
      *only = static_cast<std::uint32_t>(s);
    }
  return used;
}

std::uint32_t distance_symbol(std::uint32_t d) {
  std::uint32_t s = 0;
  while (d >> s) ++s;
  return s;  // 0 for 0, else bit length
}

}  // namespace

Bytes to_bytes(const std::string &text) { return Bytes(text.begin(), text.end()); }

std::uint32_t crc_of(const Bytes &data) { return arj::crc32_of(data.data(), data.size()); }

void BitWriter::put(std::uint32_t value, int width) {
  for (int i = width - 1; i >= 0; --i) {
    if (bits_ % 8 == 0) out_.push_back(0);
    if ((value >> i) & 1u) out_.back() = static_cast<std::uint8_t>(out_.back() | (0x80u >> (bits_ % 8)));
    ++bits_;
  }
}

void BitWriter::put_ones(int count) {
  for (int i = 0; i < count; ++i) put(1, 1);
}

Bytes basic_header(const HeaderFields &f) {
  Bytes b;
  b.push_back(f.first_size);
  b.push_back(f.archiver_version);
  b.push_back(f.min_version);
  b.push_back(f.origin_os);
  b.push_back(f.header_flags);
  b.push_back(f.pack_method);
  b.push_back(f.content_type);
  b.push_back(0);
  put_u32(b, f.modified_time);
  put_u32(b, f.packed_size);
  put_u32(b, f.original_size);
  put_u32(b, f.data_crc);
  put_u16(b, f.name_offset);
  put_u16(b, f.access_mode);
  put_u16(b, f.origin_data);
  while (b.size() < f.first_size) b.push_back(0);
  b.insert(b.end(), f.name.begin(), f.name.end());
  b.push_back(0);
  b.insert(b.end(), f.comment.begin(), f.comment.end());
  b.push_back(0);
  return b;
}

Bytes header_block(const Bytes &basic, const std::vector<Bytes> &extended, std::uint32_t crc_delta) {
  Bytes b = {0x60, 0xEA};
  put_u16(b, static_cast<std::uint32_t>(basic.size()));
  append(b, basic);
  put_u32(b, crc_of(basic) + crc_delta);
  for (const Bytes &ext : extended) {
    put_u16(b, static_cast<std::uint32_t>(ext.size()));
    append(b, ext);
    put_u32(b, crc_of(ext));
  }
  put_u16(b, 0);
  return b;
}

Bytes header_block(const HeaderFields &fields) { return header_block(basic_header(fields)); }

Bytes end_marker() { return {0x60, 0xEA, 0x00, 0x00}; }

Entry make_entry(const std::string &name, int method, const Bytes &original, const Bytes &packed) {
  Entry e;
  e.header.name = name;
  e.header.pack_method = static_cast<std::uint8_t>(method);
  e.header.packed_size = static_cast<std::uint32_t>(packed.size());
  e.header.original_size = static_cast<std::uint32_t>(original.size());
  e.header.data_crc = crc_of(original);
  e.packed = packed;
  return e;
}

Entry stored_entry(const std::string &name, const Bytes &data) { return make_entry(name, 0, data, data); }

Bytes archive(const std::vector<Entry> &entries) {
  HeaderFields main;
  main.content_type = 2;
  main.name = "TEST.ARJ";
  Bytes out = header_block(main);
  for (const Entry &e : entries) {
    append(out, header_block(e.header));
    append(out, e.packed);
  }
  append(out, end_marker());
  return out;
}

Token literal(std::uint8_t byte) {
  Token t;
  t.value = byte;
  return t;
}

Token match(std::uint32_t length, std::uint32_t distance) {
  Token t;
  t.is_match = true;
  t.value = length;
  t.distance = distance;
  return t;
}

Bytes expand_tokens(const std::vector<Token> &tokens) {
  Bytes out;
  for (const Token &t : tokens) {
    if (!t.is_match) {
      out.push_back(static_cast<std::uint8_t>(t.value));
      continue;
    }
    for (std::uint32_t i = 0; i < t.value; ++i) {
      const long from = static_cast<long>(out.size()) - static_cast<long>(t.distance) - 1;
      out.push_back(from >= 0 ? out[static_cast<std::size_t>(from)] : 0);
    }
  }
  return out;
}

std::vector<Token> greedy_tokens(const Bytes &data, std::uint32_t max_distance) {
  std::vector<Token> tokens;
  std::vector<long> last(1 << 16, -1);
  auto hash = [&](std::size_t i) {
    return ((data[i] << 8) ^ (data[i + 1] << 4) ^ data[i + 2]) & 0xFFFF;
  };
  std::size_t i = 0;
  while (i < data.size()) {
    std::size_t best = 0;
    std::size_t best_pos = 0;
    if (i + 3 <= data.size()) {
      const long cand = last[hash(i)];
      last[hash(i)] = static_cast<long>(i);
      if (cand >= 0 && i - static_cast<std::size_t>(cand) - 1 <= max_distance) {
        std::size_t len = 0;
        while (len < 256 && i + len < data.size() && data[cand + len] == data[i + len]) ++len;
        if (len >= 3) {
          best = len;
          best_pos = static_cast<std::size_t>(cand);
        }
      }
    }
    if (best) {
      tokens.push_back(match(static_cast<std::uint32_t>(best), static_cast<std::uint32_t>(i - best_pos - 1)));
      for (std::size_t k = 1; k < best && i + k + 3 <= data.size(); ++k) last[hash(i + k)] = static_cast<long>(i + k);
      i += best;
    } else {
      tokens.push_back(literal(data[i]));
      ++i;
    }
  }
  return tokens;
}

std::vector<std::uint32_t> canonical_codes(const std::vector<std::uint8_t> &lengths) {
  std::uint32_t count[17] = {};
  for (auto l : lengths) ++count[l];
  count[0] = 0;
  std::uint32_t next[18] = {};
  std::uint32_t code = 0;
  for (int len = 1; len <= 16; ++len) {
    code = (code + count[len - 1]) << 1;
    next[len] = code;
  }
  std::vector<std::uint32_t> codes(lengths.size());
  for (std::size_t s = 0; s < lengths.size(); ++s)
    if (lengths[s]) codes[s] = next[lengths[s]]++;
  return codes;
}

std::vector<std::uint8_t> balanced_lengths(const std::vector<std::size_t> &counts) {
  std::vector<std::uint8_t> lengths(counts.size(), 0);
  std::uint32_t only = 0;
  const int used = used_symbols(counts, &only);
  if (used == 0) return lengths;
  if (used == 1) {
    lengths[only] = 1;
    return lengths;
  }
  int bits = 0;
  while ((1 << bits) < used) ++bits;
  int shorter = (1 << bits) - used;  // these get bits - 1
  for (std::size_t s = 0; s < counts.size(); ++s) {
    if (!counts[s]) continue;
    lengths[s] = static_cast<std::uint8_t>(shorter > 0 ? bits - 1 : bits);
    if (shorter > 0) --shorter;
  }
  return lengths;
}

void write_lzh_block(BitWriter &bits, const LzhBlock &block) {
  std::vector<std::size_t> lit_counts(510, 0), dist_counts(17, 0);
  for (const Token &t : block.tokens) {
    if (t.is_match) {
      ++lit_counts[t.value + 253];
      ++dist_counts[distance_symbol(t.distance)];
    } else {
      ++lit_counts[t.value];
    }
  }
  std::uint32_t lit_only = 0, dist_only = 0;
  bool lit_single = block.lit_len_lengths.empty() && used_symbols(lit_counts, &lit_only) == 1;
  bool dist_single = block.distance_lengths.empty() && used_symbols(dist_counts, &dist_only) <= 1;
  if (block.lit_len_single >= 0) {
    lit_single = true;
    lit_only = static_cast<std::uint32_t>(block.lit_len_single);
  }
  if (block.distance_single >= 0) {
    dist_single = true;
    dist_only = static_cast<std::uint32_t>(block.distance_single);
  }
  const std::vector<std::uint8_t> lit_lengths =
      block.lit_len_lengths.empty() ? balanced_lengths(lit_counts) : block.lit_len_lengths;
  const std::vector<std::uint8_t> dist_lengths =
      block.distance_lengths.empty() ? balanced_lengths(dist_counts) : block.distance_lengths;

  bits.put(static_cast<std::uint32_t>(block.block_size >= 0 ? block.block_size : block.tokens.size()) & 0xFFFFu,
           16);

  // The literal/length lengths as code-length symbols, with zero runs.
  struct LenSym {
    std::uint32_t symbol, extra;
    int extra_bits;
  };
  std::vector<LenSym> syms;
  int count = 0;
  for (int i = 0; i < 510; ++i)
    if (lit_lengths[i]) count = i + 1;
  for (int i = 0; i < count;) {
    if (lit_lengths[i] != 0) {
      syms.push_back({static_cast<std::uint32_t>(lit_lengths[i] + 2), 0, 0});
      ++i;
      continue;
    }
    int run = 0;
    while (i + run < count && lit_lengths[i + run] == 0) ++run;
    int take = run;
    if (run >= 20) {
      take = std::min(run, 531);
      syms.push_back({2, static_cast<std::uint32_t>(take - 20), 9});
    } else if (run >= 3) {
      take = std::min(run, 18);
      syms.push_back({1, static_cast<std::uint32_t>(take - 3), 4});
    } else {
      take = 1;
      syms.push_back({0, 0, 0});
    }
    i += take;
  }
  std::vector<std::size_t> len_counts(19, 0);
  for (const LenSym &s : syms) ++len_counts[s.symbol];
  std::uint32_t len_only = 0;
  int len_used = used_symbols(len_counts, &len_only);
  if (block.code_length_single >= 0) {
    len_used = 1;
    len_only = static_cast<std::uint32_t>(block.code_length_single);
  }

  if (lit_single || len_used <= 1) {
    // The code-length code is not needed when the literal/length code has one
    // symbol; otherwise one code-length symbol makes a one-symbol code too.
    bits.put(0, 5);
    bits.put(len_only, 5);
  } else {
    write_short_lengths(bits, balanced_lengths(len_counts), true);
  }
  if (lit_single) {
    bits.put(0, 9);
    bits.put(lit_only, 9);
  } else {
    bits.put(static_cast<std::uint32_t>(count), 9);
    const std::vector<std::uint8_t> len_lengths = balanced_lengths(len_counts);
    const std::vector<std::uint32_t> len_codes = canonical_codes(len_lengths);
    for (const LenSym &s : syms) {
      if (len_used > 1) bits.put(len_codes[s.symbol], len_lengths[s.symbol]);
      bits.put(s.extra, s.extra_bits);
    }
  }
  if (dist_single) {
    bits.put(0, 5);
    bits.put(dist_only, 5);
  } else {
    write_short_lengths(bits, dist_lengths, false);
  }

  const std::vector<std::uint32_t> lit_codes = canonical_codes(lit_lengths);
  const std::vector<std::uint32_t> dist_codes = canonical_codes(dist_lengths);
  for (const Token &t : block.tokens) {
    const std::uint32_t sym = t.is_match ? t.value + 253 : t.value;
    if (!lit_single) bits.put(lit_codes[sym], lit_lengths[sym]);
    if (!t.is_match) continue;
    const std::uint32_t s = distance_symbol(t.distance);
    if (!dist_single) bits.put(dist_codes[s], dist_lengths[s]);
    if (dist_single && s != dist_only) continue;  // damaged on purpose: the class is the forced one
    if (s > 1) bits.put(t.distance - (1u << (s - 1)), static_cast<int>(s - 1));
  }
}

Bytes lzh_stream(const std::vector<LzhBlock> &blocks) {
  BitWriter bits;
  for (const LzhBlock &b : blocks) write_lzh_block(bits, b);
  return bits.bytes();
}

Bytes lzh_compress(const Bytes &data, std::size_t tokens_per_block) {
  const std::vector<Token> tokens = greedy_tokens(data, 26623);
  std::vector<LzhBlock> blocks;
  for (std::size_t i = 0; i < tokens.size(); i += tokens_per_block) {
    LzhBlock b;
    b.tokens.assign(tokens.begin() + static_cast<long>(i),
                    tokens.begin() + static_cast<long>(std::min(tokens.size(), i + tokens_per_block)));
    blocks.push_back(b);
  }
  return lzh_stream(blocks);
}

void write_method4_token(BitWriter &bits, const Token &t) {
  if (!t.is_match) {
    bits.put(0, 1);
    bits.put(t.value, 8);
    return;
  }
  // Length value v = length - 2 in a run-of-ones prefix code: widths 0..7.
  const std::uint32_t v = t.value - 2;
  int n = 0;
  while (n < 7 && v >= (2u << n) - 1u) ++n;
  bits.put_ones(n);
  if (n < 7) bits.put(0, 1);
  bits.put(v - ((1u << n) - 1u), n);
  int m = 0;
  while (m < 4 && t.distance >= (((2u << m) - 1u) << 9)) ++m;
  bits.put_ones(m);
  if (m < 4) bits.put(0, 1);
  bits.put(t.distance - (((1u << m) - 1u) << 9), 9 + m);
}

Bytes method4_stream(const std::vector<Token> &tokens) {
  BitWriter bits;
  for (const Token &t : tokens) write_method4_token(bits, t);
  return bits.bytes();
}

Bytes method4_compress(const Bytes &data) { return method4_stream(greedy_tokens(data, 15871)); }

TempDir::TempDir() {
  namespace fs = std::filesystem;
  static int serial = 0;
  const fs::path base = fs::temp_directory_path();
  for (;;) {
    fs::path candidate = base / ("tw-arj-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    if (fs::create_directory(candidate)) {
      path_ = candidate.string();
      return;
    }
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::write(const std::string &name, const Bytes &data) const {
  const std::string p = file(name);
  std::ofstream out(p, std::ios::binary);
  out.write(reinterpret_cast<const char *>(data.data()), static_cast<std::streamsize>(data.size()));
  return p;
}

Bytes read_file(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string &path) { return std::filesystem::exists(path); }

}  // namespace twtest
