#include <cfloat>

#include "etc1/HalfBlockLayout.h"
#include "etc1/ModifierCandidates.h"
#include "etc1/ModifierSearch.h"

namespace {

// Runs one row over the eight pixels, setting each pixel's index at
// bits[i]; stops as soon as `givesUp` says so of the running sum. True when the
// row was completed, with its planes in `msb` and `lsb`.
template <typename GivesUp>
bool EvaluateRow(const int32_t pixels[8][3], const int32_t base[3], int32_t row, const uint8_t* bits, GivesUp givesUp,
                 uint64_t& sum, uint32_t& msb, uint32_t& lsb) {
    RowCandidates candidates = CandidatesOfRow(base, row);
    uint32_t rowMsb = 0;
    uint32_t rowLsb = 0;
    for (int32_t i = 0; i < 8; ++i) {
        uint32_t error = 0;
        int32_t slot = NearestSlot(pixels[i], candidates, PerceptualPixelError, error);
        sum += error;
        if (givesUp(sum)) return false;
        SetIndexBits(slot, bits[i], rowMsb, rowLsb);
    }
    msb = rowMsb;
    lsb = rowLsb;
    return true;
}

}  // namespace

uint32_t TryModifierRowTallPerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                                      uint32_t& lsb, uint32_t bound) {
    uint64_t sum = 0;
    EvaluateRow(
        pixels, base, row, HalfBlockLayouts::TallAt(0).bit, [bound](uint64_t s) { return s > bound; }, sum, msb, lsb);
    return static_cast<uint32_t>(sum);
}

float TryModifierRowWidePerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                                   uint32_t& lsb, float bound) {
    // The threshold comes from the single-precision bound, so it can lie below
    // the caller's best: a row that beats the best by less than the float's
    // rounding is given up all the same.
    const int64_t threshold = static_cast<int64_t>(static_cast<double>(bound) * 1000.0);
    uint64_t sum = 0;
    auto givesUp = [threshold](uint64_t s) { return static_cast<int64_t>(s) >= threshold; };
    if (!EvaluateRow(pixels, base, row, HalfBlockLayouts::WideAt(0).bit, givesUp, sum, msb, lsb)) return FLT_MAX;
    return static_cast<float>(static_cast<double>(sum) / 1000.0);
}
