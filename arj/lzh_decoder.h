// Methods 1 to 3: a sliding window with blocks of static prefix codes.
#ifndef ARJ_LZH_DECODER_H
#define ARJ_LZH_DECODER_H

namespace arj {

// Expands the current entry (`original_size` bytes) from the bit input into
// write_output. Returns 0, or 102 (damaged stream), 105 or 110.
int expand_lzh();

}  // namespace arj

#endif  // ARJ_LZH_DECODER_H
