// Plain reference versions of the Medium and Slow block compressors, written
// step by step as the methods are defined and never tuned for speed. The tests
// and the benchmark hold the fast compressors against them word for word.
#pragma once

#include <cstdint>

namespace Etc1Reference {

void CompressBlockMedium(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockMediumPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockSlow(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockSlowPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);

}  // namespace Etc1Reference
