// The per-block work the Fast candidates share: the four half averages, and the
// modifier search of each half for each base colour asked for. Both candidates
// of a Fast method often arrive at the same base colour for a half; a search is
// a pure function of the block, the half, the base and the bound, so the second
// request reuses the first result.
#pragma once

#include <cstdint>

#include "etc1/FastQuantizers.h"

enum class FastMeasure { Plain, Perceptual };

struct HalfSearchResult {
    int32_t error = 0;
    int32_t codeword = 0;
    uint32_t msb = 0;
    uint32_t lsb = 0;
};

class FastHalfSearches {
public:
    FastHalfSearches(const uint8_t* block, FastMeasure measure);

    // Average of half 0 (left or top) or 1 (right or bottom).
    const float* Average(bool flipped, int32_t half) const { return averages_[flipped][half]; }

    // The search of the half against the 8-bit base colour, with the bound above
    // every half's error (3,121,200 plain, 1,560,600 perceptual).
    HalfSearchResult Search(bool flipped, int32_t half, const QuantizedColor& base);

private:
    struct Remembered {
        bool used = false;
        QuantizedColor base{};
        HalfSearchResult result;
    };

    const uint8_t* block_;
    FastMeasure measure_;
    float averages_[2][2][3];
    Remembered remembered_[2][2][2];  // orientation, half, two base colours
};
