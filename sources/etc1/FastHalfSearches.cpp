#include "etc1/FastHalfSearches.h"

#include "etc1/ModifierRowChoice.h"
#include "etc1/ModifierRows.h"

namespace {

// 3 x 16 x 255^2 and 3 x 8 x 255^2: above any half's error, so every search writes its outputs.
constexpr uint32_t kPlainBound = 3121200;
constexpr uint32_t kPerceptualBound = 1560600;

// Fills the remembered result in place: a returned copy would be stored and
// read back once more on every search.
void RunSearch(const uint8_t* block, bool flipped, int32_t first, PackedColour base, FastMeasure measure,
               HalfSearchResult& half) {
    const uint8_t colour[3] = {static_cast<uint8_t>(base >> 16), static_cast<uint8_t>(base >> 8),
                               static_cast<uint8_t>(base)};
    const HalfShape shape = flipped ? HalfShape::Wide : HalfShape::Tall;
    ModifierRows rows;
    ComputeModifierRows(block, shape, first, colour, measure, rows);
    if (measure == FastMeasure::Plain) {
        half.codeword = LeastModifierRow(rows, kPlainBound);
        half.error = static_cast<int32_t>(rows.error[half.codeword]);
    } else if (flipped) {
        double best = kPerceptualBound;
        half.codeword = WidePerceptualModifierRow(rows, best);
        half.error = static_cast<int32_t>(best);
    } else {
        half.codeword = LeastModifierRow(rows, kPerceptualBound * 1000u);
        half.error = static_cast<int32_t>(rows.error[half.codeword] / 1000u);
    }
    half.internal = rows.error[half.codeword];
    half.msb = HalfPlane(rows.Msb(half.codeword), shape);
    half.lsb = HalfPlane(rows.Lsb(half.codeword), shape);
}

// Channel sums of the tall halves (columns 0-1, 2-3) and the wide ones (rows 0-1, 2-3).
void SumHalves(const uint8_t* block, int32_t sums[2][2][3]) {
    int32_t pairs[4][2][3];  // row, column pair, channel: two neighbouring pixels
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t pair = 0; pair < 2; ++pair) {
            const uint8_t* pixel = block + 3 * (4 * y + 2 * pair);
            for (int32_t c = 0; c < 3; ++c) pairs[y][pair][c] = pixel[c] + pixel[3 + c];
        }
    }
    for (int32_t half = 0; half < 2; ++half) {
        for (int32_t c = 0; c < 3; ++c) {
            sums[0][half][c] = pairs[0][half][c] + pairs[1][half][c] + pairs[2][half][c] + pairs[3][half][c];
            sums[1][half][c] = pairs[2 * half][0][c] + pairs[2 * half][1][c] + pairs[2 * half + 1][0][c] +
                               pairs[2 * half + 1][1][c];
        }
    }
}

}  // namespace

FastHalfSearches::FastHalfSearches(const uint8_t* block, FastMeasure measure) : block_(block), measure_(measure) {
    SumHalves(block, sums_);
}

const HalfSearchResult& FastHalfSearches::Search(bool flipped, int32_t half, PackedColour base) {
    Remembered& remembered = remembered_[flipped][half];
    if (remembered.base != base) {
        remembered.base = base;
        RunSearch(block_, flipped, 2 * half, base, measure_, remembered.result);
    }
    return remembered.result;
}
