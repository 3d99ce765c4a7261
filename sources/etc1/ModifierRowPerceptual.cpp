#include <cfloat>

#include "etc1/HalfBlockLayout.h"
#include "etc1/ModifierCandidates.h"
#include "etc1/ModifierSearch.h"

uint32_t TryModifierRowTallPerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                                      uint32_t& lsb, uint32_t bound) {
    RowCandidates candidates = CandidatesOfRow(base, row);
    uint32_t sum = 0;
    uint32_t rowMsb = 0;
    uint32_t rowLsb = 0;
    for (int32_t i = 0; i < 8; ++i) {
        uint32_t error = 0;
        int32_t slot = NearestSlot(pixels[i], candidates, PerceptualPixelError, error);
        sum += error;
        if (sum > bound) return sum;
        SetIndexBits(slot, i, rowMsb, rowLsb);
    }
    msb = rowMsb;
    lsb = rowLsb;
    return sum;
}

float TryModifierRowWidePerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                                   uint32_t& lsb, float bound) {
    // The threshold comes from the single-precision bound, so it can lie below
    // the caller's best: a row that beats the best by less than the float's
    // rounding is given up all the same.
    const int64_t threshold = static_cast<int64_t>(static_cast<double>(bound) * 1000.0);
    const HalfBlockLayout& layout = HalfBlockLayouts::WideAt(0);
    RowCandidates candidates = CandidatesOfRow(base, row);
    int64_t sum = 0;
    uint32_t rowMsb = 0;
    uint32_t rowLsb = 0;
    for (int32_t i = 0; i < 8; ++i) {
        uint32_t error = 0;
        int32_t slot = NearestSlot(pixels[i], candidates, PerceptualPixelError, error);
        sum += error;
        if (sum >= threshold) return FLT_MAX;
        SetIndexBits(slot, layout.bit[i], rowMsb, rowLsb);
    }
    msb = rowMsb;
    lsb = rowLsb;
    return static_cast<float>(static_cast<double>(sum) / 1000.0);
}
