#include "etc1/ModifierRows.h"

#include "etc1/HalfBlockLayout.h"
#include "etc1/ModifierCandidates.h"
#include "platform/ProcessorFeatures.h"

namespace {

const bool kUseAvx2 = Platform::ProcessorHasAvx2();

}  // namespace

void ComputeModifierRows(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                         ErrorMeasure measure, ModifierRows& rows) {
    if (kUseAvx2) {
        ComputeModifierRowsAvx2(block, shape, first, base, measure, rows);
    } else {
        ComputeModifierRowsPortable(block, shape, first, base, measure, rows);
    }
}

void ComputeModifierRowsPortable(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                                 ErrorMeasure measure, ModifierRows& rows) {
    const HalfBlockLayout& layout =
        shape == HalfShape::Tall ? HalfBlockLayouts::TallAt(first) : HalfBlockLayouts::WideAt(first);
    const int32_t wideBase[3] = {base[0], base[1], base[2]};
    rows.msb = 0;
    rows.lsb = 0;
    rows.least = 0;
    for (int32_t q = 0; q < 8; ++q) {
        const RowCandidates candidates = CandidatesOfRow(wideBase, q);
        uint32_t sum = 0;
        uint32_t msb = 0;
        uint32_t lsb = 0;
        for (int32_t i = 0; i < 8; ++i) {
            const uint8_t* bytes = block + layout.offset[i];
            const int32_t pixel[3] = {bytes[0], bytes[1], bytes[2]};
            uint32_t error = 0;
            int32_t slot = measure == ErrorMeasure::Plain ? NearestSlot(pixel, candidates, PlainPixelError, error)
                                                          : NearestSlot(pixel, candidates, PerceptualPixelError, error);
            sum += error;
            SetIndexBits(slot, i, msb, lsb);
        }
        rows.error[q] = sum;
        rows.msb |= static_cast<uint64_t>(msb) << (8 * q);
        rows.lsb |= static_cast<uint64_t>(lsb) << (8 * q);
        if (sum < rows.error[rows.least]) rows.least = q;
    }
}
