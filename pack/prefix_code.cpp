#include "pack/prefix_code.h"

#include <algorithm>

namespace pack {
namespace {

// Optimal code lengths for frequencies sorted in increasing order, computed
// in place (the frequencies become lengths); Moffat and Katajainen's method.
void minimum_redundancy_lengths(std::uint32_t *a, int n) {
  if (n == 1) {
    a[0] = 1;
    return;
  }
  a[0] += a[1];
  int root = 0;
  int leaf = 2;
  for (int next = 1; next < n - 1; ++next) {
    if (leaf >= n || a[root] < a[leaf]) {
      a[next] = a[root];
      a[root++] = static_cast<std::uint32_t>(next);
    } else {
      a[next] = a[leaf++];
    }
    if (leaf >= n || (root < next && a[root] < a[leaf])) {
      a[next] += a[root];
      a[root++] = static_cast<std::uint32_t>(next);
    } else {
      a[next] += a[leaf++];
    }
  }
  a[n - 2] = 0;
  for (int next = n - 3; next >= 0; --next) a[next] = a[a[next]] + 1;
  int available = 1;
  int used = 0;
  std::uint32_t depth = 0;
  int root_at = n - 2;
  int next = n - 1;
  while (available > 0) {
    while (root_at >= 0 && a[root_at] == depth) {
      ++used;
      --root_at;
    }
    while (available > used) {
      a[next--] = depth;
      --available;
    }
    available = 2 * used;
    ++depth;
    used = 0;
  }
}

}  // namespace

int used_symbols(const std::uint32_t *freqs, int count, int *only) {
  int used = 0;
  for (int s = 0; s < count; ++s) {
    if (freqs[s] != 0) {
      ++used;
      if (only != nullptr) *only = s;
    }
  }
  return used;
}

void build_code_lengths(const std::uint32_t *freqs, int count, int max_length, std::uint8_t *lengths) {
  // Sort keys: frequency above, symbol below, so ties keep symbol order.
  std::uint64_t keys[kMaxSymbols];
  int used = 0;
  for (int s = 0; s < count; ++s) {
    lengths[s] = 0;
    if (freqs[s] != 0) keys[used++] = (static_cast<std::uint64_t>(freqs[s]) << 16) | static_cast<unsigned>(s);
  }
  if (used == 0) return;
  if (used == 1) {
    lengths[keys[0] & 0xFFFF] = 1;
    return;
  }
  std::sort(keys, keys + used);
  std::uint32_t work[kMaxSymbols];
  for (int i = 0; i < used; ++i) work[i] = static_cast<std::uint32_t>(keys[i] >> 16);
  minimum_redundancy_lengths(work, used);

  // Count codes per length, folding over-long ones into max_length, then
  // lengthen shorter codes until the code space is filled exactly again.
  int per_length[kMaxSymbols + 1] = {};
  for (int i = 0; i < used; ++i) ++per_length[std::min<std::uint32_t>(work[i], static_cast<std::uint32_t>(max_length))];
  std::uint32_t total = 0;
  for (int len = max_length; len > 0; --len) total += static_cast<std::uint32_t>(per_length[len]) << (max_length - len);
  const std::uint32_t full = 1u << max_length;
  while (total != full) {
    --per_length[max_length];
    for (int len = max_length - 1; len > 0; --len) {
      if (per_length[len] != 0) {
        --per_length[len];
        per_length[len + 1] += 2;
        break;
      }
    }
    --total;
  }
  // The most frequent symbols (at the end of the sorted keys) get the shortest codes.
  int at = used;
  for (int len = 1; len <= max_length; ++len) {
    for (int k = per_length[len]; k > 0; --k) lengths[keys[--at] & 0xFFFF] = static_cast<std::uint8_t>(len);
  }
}

void assign_canonical_codes(const std::uint8_t *lengths, int count, std::uint16_t *codes) {
  int per_length[17] = {};
  for (int s = 0; s < count; ++s) ++per_length[lengths[s]];
  per_length[0] = 0;
  unsigned next_code[18] = {};
  unsigned code = 0;
  for (int len = 1; len <= 16; ++len) {
    code = (code + static_cast<unsigned>(per_length[len - 1])) << 1;
    next_code[len] = code;
  }
  for (int s = 0; s < count; ++s) {
    const int len = lengths[s];
    codes[s] = len == 0 ? 0 : static_cast<std::uint16_t>(next_code[len]++);
  }
}

}  // namespace pack
