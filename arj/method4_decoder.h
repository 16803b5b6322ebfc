// Method 4: a sliding window with fixed prefix codes for lengths and distances.
#ifndef ARJ_METHOD4_DECODER_H
#define ARJ_METHOD4_DECODER_H

namespace arj {

// Expands the current entry (`original_size` bytes) from the bit input into
// write_output. Returns 0, 105 or 110; every bit pattern is a valid stream.
int expand_method4();

}  // namespace arj

#endif  // ARJ_METHOD4_DECODER_H
