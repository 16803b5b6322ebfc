// Writes bit fields most significant bit first, the order in which the
// decoders take them. A 64-bit accumulator lets a put be a shift and an OR;
// bytes leave four at a time.
#ifndef PACK_BIT_WRITER_H
#define PACK_BIT_WRITER_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pack {

class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t> &out) : out_(out) {}

  // Appends the low `count` bits of `value` (count 0 to 32; higher bits of
  // `value` must be 0).
  void put(unsigned count, std::uint32_t value) {
    accumulator_ = (accumulator_ << count) | value;
    pending_ += count;
    if (pending_ >= 32) {
      pending_ -= 32;
      const auto word = static_cast<std::uint32_t>(accumulator_ >> pending_);
      const std::size_t at = out_.size();
      out_.resize(at + 4);
      out_[at] = static_cast<std::uint8_t>(word >> 24);
      out_[at + 1] = static_cast<std::uint8_t>(word >> 16);
      out_[at + 2] = static_cast<std::uint8_t>(word >> 8);
      out_[at + 3] = static_cast<std::uint8_t>(word);
    }
  }

  // Pads the last byte with 0 bits and writes out whatever is held.
  void flush() {
    while (pending_ >= 8) {
      pending_ -= 8;
      out_.push_back(static_cast<std::uint8_t>(accumulator_ >> pending_));
    }
    if (pending_ > 0) {
      out_.push_back(static_cast<std::uint8_t>(accumulator_ << (8 - pending_)));
      pending_ = 0;
    }
  }

  // Bits written so far, flushed or not.
  std::uint64_t bit_count() const { return static_cast<std::uint64_t>(out_.size()) * 8 + pending_; }

 private:
  std::vector<std::uint8_t> &out_;
  std::uint64_t accumulator_ = 0;
  unsigned pending_ = 0;  // bits in the accumulator not yet written
};

}  // namespace pack

#endif  // PACK_BIT_WRITER_H
