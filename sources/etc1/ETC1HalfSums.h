// The channel sums of the four halves of a 4x4 RGB block, from which the Fast
// methods quantise their base colours.
#pragma once

#include <cstdint>

namespace ETC1Encoder {

// The four halves of a block: tall at columns 0 and 2, wide at rows 0 and 2.
inline constexpr int32_t kBlockHalves = 4;

// R, G, B sums over the eight pixels of each half (0..2040 each), pixel by
// pixel, or with byte sums in vectors (needs AVX2); the vectorised version when
// the processor runs it.
void SumBlockHalves(const uint8_t* block, int32_t sums[kBlockHalves][3]);
void SumBlockHalvesPortable(const uint8_t* block, int32_t sums[kBlockHalves][3]);
void SumBlockHalvesAvx2(const uint8_t* block, int32_t sums[kBlockHalves][3]);

}  // namespace ETC1Encoder
