#include "etc1/ETC1ModifierSearch.h"

namespace ETC1Encoder {
namespace {

// The search's threshold for a best error: single precision, in thousandths, truncated.
int64_t ThresholdOf(double best) { return static_cast<int64_t>(static_cast<double>(static_cast<float>(best)) * 1000.0); }

float ThousandsOf(uint32_t error) { return static_cast<float>(static_cast<double>(error) / 1000.0); }

// True when every row before the first least one lies far enough above it that
// neither rounding to single precision nor truncating the threshold can keep
// the least row from being taken over whichever of them was best before it:
// a gap of 2 plus 2^-22 of the larger error exceeds both rounding errors.
bool LeastStandsClear(const ModifierRows& rows) {
    for (int32_t q = 0; q < rows.least; ++q) {
        const int64_t above = rows.error[q];
        if ((above - rows.error[rows.least] - 2) * (int64_t{1} << 22) < above) return false;
    }
    return true;
}

// The wide perceptual row-by-row procedure over the rows' complete errors: a
// row is given up once its running sum reaches the threshold of the best so
// far; sums only grow, so that happens exactly when the complete sum reaches it.
int32_t RowByRow(const uint32_t errors[kTableRows], double& best) {
    int64_t threshold = ThresholdOf(best);
    int32_t bestRow = -1;
    for (int32_t q = 0; q < kTableRows; ++q) {
        if (static_cast<int64_t>(errors[q]) >= threshold) continue;
        const float error = ThousandsOf(errors[q]);
        if (static_cast<double>(error) < best) {
            best = error;
            threshold = ThresholdOf(best);
            bestRow = q;
        }
    }
    return bestRow;
}

void WriteRow(const ModifierRows& rows, int32_t q, HalfShape shape, int32_t& row, uint32_t& msb, uint32_t& lsb) {
    row = q;
    msb = HalfPlane(rows.Msb(q), shape);
    lsb = HalfPlane(rows.Lsb(q), shape);
}

int32_t PlainSearch(HalfShape shape, const uint8_t* block, int32_t first, const uint8_t* base, int32_t& row,
                    uint32_t& msb, uint32_t& lsb, int32_t bound) {
    ModifierRows rows;
    ComputeModifierRows(block, shape, first, base, ErrorMeasure::Plain, rows);
    // Plain errors of a half stay below 2^31, so a negative bound admits no row.
    if (bound <= 0) return bound;
    int32_t best = LeastModifierRow(rows, static_cast<uint32_t>(bound));
    if (best < 0) return bound;
    WriteRow(rows, best, shape, row, msb, lsb);
    return static_cast<int32_t>(rows.error[best]);
}

}  // namespace

int32_t WidePerceptualModifierRow(const ModifierRows& rows, double& best) {
    // Usually the least row beats the bound and every row before it by a clear
    // margin; it is then the procedure's answer (no later row can beat it).
    const uint32_t least = rows.error[rows.least];
    const float leastThousands = ThousandsOf(least);
    if (static_cast<int64_t>(least) < ThresholdOf(best) && static_cast<double>(leastThousands) < best &&
        LeastStandsClear(rows)) {
        best = leastThousands;
        return rows.least;
    }
    return RowByRow(rows.error, best);
}

int32_t SearchErrorFromRowSums(ErrorMeasure measure, HalfShape shape, const uint32_t rowSums[kTableRows]) {
    if (measure == ErrorMeasure::Perceptual && shape == HalfShape::Wide) {
        double best = kAboveEveryHalfError;
        RowByRow(rowSums, best);
        return static_cast<int32_t>(best);
    }
    uint32_t smallest = rowSums[0];
    for (int32_t row = 1; row < kTableRows; ++row) smallest = rowSums[row] < smallest ? rowSums[row] : smallest;
    return static_cast<int32_t>(measure == ErrorMeasure::Plain ? smallest : smallest / 1000u);
}

int32_t ModifierSearchTall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound) {
    return PlainSearch(HalfShape::Tall, block, column, base, row, msb, lsb, bound);
}

int32_t ModifierSearchWide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound) {
    return PlainSearch(HalfShape::Wide, block, firstRow, base, row, msb, lsb, bound);
}

uint32_t ModifierSearchTallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row,
                                      uint32_t& msb, uint32_t& lsb, uint32_t bound) {
    ModifierRows rows;
    ComputeModifierRows(block, HalfShape::Tall, column, base, ErrorMeasure::Perceptual, rows);
    const uint32_t internalBound = bound * 1000u;
    int32_t best = LeastModifierRow(rows, internalBound);
    if (best < 0) return internalBound / 1000u;
    WriteRow(rows, best, HalfShape::Tall, row, msb, lsb);
    return rows.error[best] / 1000u;
}

int32_t ModifierSearchWidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row,
                                     uint32_t& msb, uint32_t& lsb, double bound) {
    ModifierRows rows;
    ComputeModifierRows(block, HalfShape::Wide, firstRow, base, ErrorMeasure::Perceptual, rows);
    double best = bound;
    int32_t chosen = WidePerceptualModifierRow(rows, best);
    if (chosen >= 0) WriteRow(rows, chosen, HalfShape::Wide, row, msb, lsb);
    return static_cast<int32_t>(best);
}

}  // namespace ETC1Encoder
