// The per-block work the Fast candidates share: the channel sums of the four
// halves, and the modifier search of each half for each base colour asked for.
// Both candidates of a Fast method often arrive at the same base colour for a
// half; a search is a pure function of the block, the half, the base and the
// bound, so the second request reuses the first result.
#pragma once

#include <cstdint>

#include "etc1/FastSumQuantizers.h"
#include "etc1/HalfBlock.h"

using FastMeasure = ErrorMeasure;

struct HalfSearchResult {
    int32_t error = 0;      // as the search returns it (perceptual: in thousands, rounded its own way)
    uint32_t internal = 0;  // the chosen row's exact error (perceptual: in thousandths)
    int32_t codeword = 0;
    uint32_t msb = 0;
    uint32_t lsb = 0;
};

class FastHalfSearches {
public:
    FastHalfSearches(const uint8_t* block, FastMeasure measure);

    // Channel sums over the eight pixels of half 0 (left or top) or 1 (right or bottom).
    const int32_t* Sums(bool flipped, int32_t half) const { return sums_[flipped][half]; }

    // The search of the half against the 8-bit base colour, with the bound above
    // every half's error (3,121,200 plain, 1,560,600 perceptual). The result
    // stays valid until the next search of the same half.
    const HalfSearchResult& Search(bool flipped, int32_t half, PackedColour base);

private:
    static constexpr uint32_t kNoBase = ~0u;

    struct Remembered {
        PackedColour base = kNoBase;
        HalfSearchResult result;
    };

    const uint8_t* block_;
    FastMeasure measure_;
    int32_t sums_[2][2][3];
    Remembered remembered_[2][2];  // orientation, half: the latest search
};
