// Plain reference versions of the two Fast block compressors and their four
// candidate builders, written step by step as the methods are defined and never
// tuned for speed: half averages, quantisers, the reference half searches, a
// plain block decoder and the two double-precision error measures. The tests
// hold the encoder's Fast methods against them word for word.
#pragma once

#include <cstdint>

namespace Etc1Reference {

// `scratch` ends with the decoding of the second candidate.
void CompressBlockFast(const uint8_t* block, uint8_t* scratch, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockFastPerceptual(const uint8_t* block, uint8_t* scratch, uint32_t& highWord, uint32_t& lowWord);

void CompressBlockFastRounded(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockFastHue(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockFastRoundedPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockFastHuePerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);

}  // namespace Etc1Reference
