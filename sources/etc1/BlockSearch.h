// The base-colour search that the Medium and Slow methods share: both halves'
// colours in both orientations, in differential mode over windows of 5-bit codes
// around the halves' averages and in individual mode over the 4-bit codes 0 to 14.
#pragma once

#include <cstdint>

#include "etc1/HalfBlock.h"
#include "etc1/HalfSweep.h"

// Where the two methods differ.
struct WindowRules {
    int32_t radius;     // window: the centre code +- radius, within 0 to 31
    int32_t gateLow;    // differential mode only when every channel's centre of the
    int32_t gateHigh;   // second half minus the first's lies within gateLow..gateHigh
    bool individualToo; // individual mode also when differential mode is tried
};

inline constexpr WindowRules kMediumRules{3, -7, 6, false};
inline constexpr WindowRules kSlowRules{5, -9, 8, true};

// Compresses one RGB block (48 bytes) with the given rules, measure and sweeps.
void SearchBlock(const uint8_t* block, ErrorMeasure measure, const WindowRules& rules,
                 const HalfSweepFunctions& sweep, uint32_t& highWord, uint32_t& lowWord);
