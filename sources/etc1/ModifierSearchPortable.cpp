// The searches row by row, giving a row up as soon as it cannot win.
#include "etc1/HalfBlockLayout.h"
#include "etc1/ModifierCandidates.h"
#include "etc1/ModifierSearch.h"
#include "etc1/ModifierSearchVariants.h"

namespace ModifierSearchPortable {
namespace {

struct HalfPixels {
    int32_t pixel[8][3];  // in visiting order
    int32_t base[3];
};

HalfPixels CopyHalf(const uint8_t* block, const HalfBlockLayout& layout, const uint8_t* base) {
    HalfPixels half;
    for (int32_t i = 0; i < 8; ++i) {
        for (int32_t channel = 0; channel < 3; ++channel) half.pixel[i][channel] = block[layout.offset[i] + channel];
    }
    for (int32_t channel = 0; channel < 3; ++channel) half.base[channel] = base[channel];
    return half;
}

int32_t PlainSearch(const uint8_t* block, const HalfBlockLayout& layout, const uint8_t* base, int32_t& row,
                    uint32_t& msb, uint32_t& lsb, int32_t bound) {
    HalfPixels half = CopyHalf(block, layout, base);
    int32_t best = bound;
    for (int32_t q = 0; q < 8; ++q) {
        RowCandidates candidates = CandidatesOfRow(half.base, q);
        int32_t sum = 0;
        uint32_t rowMsb = 0;
        uint32_t rowLsb = 0;
        bool complete = true;
        for (int32_t i = 0; i < 8 && complete; ++i) {
            uint32_t error = 0;
            int32_t slot = NearestSlot(half.pixel[i], candidates, PlainPixelError, error);
            sum += static_cast<int32_t>(error);
            complete = sum < best;
            SetIndexBits(slot, layout.bit[i], rowMsb, rowLsb);
        }
        if (!complete) continue;
        best = sum;
        row = q;
        msb = rowMsb;
        lsb = rowLsb;
    }
    return best;
}

}  // namespace

int32_t Tall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound) {
    return PlainSearch(block, HalfBlockLayouts::TallAt(column), base, row, msb, lsb, bound);
}

int32_t Wide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound) {
    return PlainSearch(block, HalfBlockLayouts::WideAt(firstRow), base, row, msb, lsb, bound);
}

uint32_t TallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                        uint32_t& lsb, uint32_t bound) {
    HalfPixels half = CopyHalf(block, HalfBlockLayouts::TallAt(column), base);
    uint32_t best = bound * 1000u;
    for (int32_t q = 0; q < 8; ++q) {
        uint32_t rowMsb = 0;
        uint32_t rowLsb = 0;
        uint32_t sum = TryModifierRowTallPerceptual(half.pixel, half.base, q, rowMsb, rowLsb, best);
        if (sum >= best) continue;
        best = sum;
        row = q;
        msb = rowMsb;
        lsb = rowLsb;
    }
    return best / 1000u;
}

int32_t WidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                       uint32_t& lsb, double bound) {
    HalfPixels half = CopyHalf(block, HalfBlockLayouts::WideAt(firstRow), base);
    double best = bound;
    for (int32_t q = 0; q < 8; ++q) {
        uint32_t rowMsb = 0;
        uint32_t rowLsb = 0;
        float error = TryModifierRowWidePerceptual(half.pixel, half.base, q, rowMsb, rowLsb, static_cast<float>(best));
        if (!(static_cast<double>(error) < best)) continue;
        best = error;
        row = q;
        msb = rowMsb;
        lsb = rowLsb;
    }
    return static_cast<int32_t>(best);
}

}  // namespace ModifierSearchPortable
