// Varied 4x4 RGB blocks for holding the fast Medium and Slow compressors against
// the reference: the shared block patterns, and three colours, flat halves a few
// 5-bit steps apart (around both methods' mode gates), blocks that mirror across
// the diagonal (so both orientations tie) and blocks with a channel pinned at 0 or 255.
#pragma once

#include <cstdint>
#include <vector>

#include "reference/BlockPatterns.h"

namespace Etc1Reference {

using Reference::RgbBlock;

// `count` blocks, the kinds taken in turn; the same seed gives the same blocks.
std::vector<RgbBlock> VariedBlocks(int32_t count, uint32_t seed);

}  // namespace Etc1Reference
