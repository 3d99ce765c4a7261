// The pairing of the differential mode: the two halves' base colours, each from
// its own window of 5-bit codes, whose second colour lies within -4 to +3 of the
// first in every channel.
#pragma once

#include <cstdint>

#include "etc1/ETC1ColourSearch.h"

namespace ETC1Encoder {

struct ColourPair {
    bool found;
    int32_t total;
    int32_t first[3];
    int32_t second[3];
};

// The pair with the smallest total error below `cutoff`, the first in loop order
// (first half's code R, G, B, then the second half's) among equals. Both tables
// are prepared over the halves' windows; the seeds are guesses near each half's best.
ColourPair PairDifferentialColours(const ColourSearchKernel& kernel, HalfTables& first, HalfTables& second,
                                   const int32_t firstSeed[3], const int32_t secondSeed[3], int32_t cutoff);

}  // namespace ETC1Encoder
