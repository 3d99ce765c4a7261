// The searches from complete row errors, with the acceptance rules of the
// row-by-row procedure applied afterwards (ModifierRowChoice.h).
#include "etc1/ModifierRowChoice.h"
#include "etc1/ModifierRows.h"
#include "etc1/ModifierSearchVariants.h"
#include "platform/ProcessorFeatures.h"

namespace ModifierSearchSimd {
namespace {

void WriteRow(const ModifierRows& rows, int32_t q, HalfShape shape, int32_t& row, uint32_t& msb, uint32_t& lsb) {
    row = q;
    msb = HalfPlane(rows.Msb(q), shape);
    lsb = HalfPlane(rows.Lsb(q), shape);
}

int32_t PlainSearch(HalfShape shape, const uint8_t* block, int32_t first, const uint8_t* base, int32_t& row,
                    uint32_t& msb, uint32_t& lsb, int32_t bound) {
    ModifierRows rows;
    ComputeModifierRowsAvx2(block, shape, first, base, ErrorMeasure::Plain, rows);
    // Plain errors of a half stay below 2^31, so a negative bound admits no row.
    if (bound <= 0) return bound;
    int32_t best = LeastModifierRow(rows, static_cast<uint32_t>(bound));
    if (best < 0) return bound;
    WriteRow(rows, best, shape, row, msb, lsb);
    return static_cast<int32_t>(rows.error[best]);
}

}  // namespace

bool Available() { return Platform::ProcessorHasAvx2(); }

int32_t Tall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound) {
    return PlainSearch(HalfShape::Tall, block, column, base, row, msb, lsb, bound);
}

int32_t Wide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound) {
    return PlainSearch(HalfShape::Wide, block, firstRow, base, row, msb, lsb, bound);
}

uint32_t TallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                        uint32_t& lsb, uint32_t bound) {
    ModifierRows rows;
    ComputeModifierRowsAvx2(block, HalfShape::Tall, column, base, ErrorMeasure::Perceptual, rows);
    const uint32_t internalBound = bound * 1000u;
    int32_t best = LeastModifierRow(rows, internalBound);
    if (best < 0) return internalBound / 1000u;
    WriteRow(rows, best, HalfShape::Tall, row, msb, lsb);
    return rows.error[best] / 1000u;
}

int32_t WidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                       uint32_t& lsb, double bound) {
    ModifierRows rows;
    ComputeModifierRowsAvx2(block, HalfShape::Wide, firstRow, base, ErrorMeasure::Perceptual, rows);
    double best = bound;
    int32_t chosen = WidePerceptualModifierRow(rows, best);
    if (chosen >= 0) WriteRow(rows, chosen, HalfShape::Wide, row, msb, lsb);
    return static_cast<int32_t>(best);
}

}  // namespace ModifierSearchSimd
