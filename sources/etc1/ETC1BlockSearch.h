// The Medium and Slow methods: a search of both halves' base colours in both
// orientations, in differential mode over windows of 5-bit codes around the
// halves' averages and in individual mode over the 4-bit codes 0 to 14; the
// winner's codewords and index planes come from the modifier searches.
#pragma once

#include <cstdint>

#include "etc1/ETC1ColourSearch.h"
#include "etc1/ETC1HalfBlock.h"

namespace ETC1Encoder {

// Where the two methods differ.
struct WindowRules {
    int32_t radius;     // window: the centre code +- radius, within 0 to 31
    int32_t gateLow;    // differential mode only when every channel's centre of the
    int32_t gateHigh;   // second half minus the first's lies within gateLow..gateHigh
    bool individualToo; // individual mode also when differential mode is tried
};

inline constexpr WindowRules kMediumRules{3, -7, 6, false};
inline constexpr WindowRules kSlowRules{5, -9, 8, true};

// Compresses one RGB block (48 bytes) with the given rules, measure and colour search kernel.
void SearchBlock(const uint8_t* block, ErrorMeasure measure, const WindowRules& rules,
                 const ColourSearchKernel& kernel, uint32_t& highWord, uint32_t& lowWord);

// The compressors: `block` is 16 pixels row by row, R, G, B each (48 bytes);
// both words are always written.
//
// Medium: differential mode over 7x7x7 windows of 5-bit colours around the
// halves' averages when those lie close enough, else individual mode.
void CompressBlockMedium(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockMediumPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);

// Slow: differential mode over 11x11x11 windows (when the averages lie close
// enough) and individual mode as well.
void CompressBlockSlow(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);
void CompressBlockSlowPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord);

}  // namespace ETC1Encoder
