// The Fast methods: two candidate blocks, each decoded into `scratch` (48 bytes
// owned by the caller, one per thread) and measured against the source block;
// the first candidate wins unless the second is strictly better.
#pragma once

#include <cstdint>

namespace ETC1Encoder {

// Error measures between a source 4x4 RGB block and a decoded one (48 bytes
// each, pixels row by row, R, G, B). Both visit the pixels column by column and,
// within a column, row by row.

// Sum of dR^2 + dG^2 + dB^2; exact.
double BlockErrorRGB(const uint8_t* source, const uint8_t* decoded);

// Sum of dR^2 x 0.299 + dG^2 x 0.587 + dB^2 x 0.114 in double, added term by
// term in that order: another order can change the last bits and so the
// outcome of a near tie.
double BlockErrorPerceptual(const uint8_t* source, const uint8_t* decoded);

// Rounded against hue-quantised base colours, plain error.
void CompressBlockFast(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low);
// The same with the perceptual quantisers, searches and error.
void CompressBlockFastPerceptual(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low);

}  // namespace ETC1Encoder
