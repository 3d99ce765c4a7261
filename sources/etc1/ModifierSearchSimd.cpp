// The searches from complete row errors: the acceptance rules of the row-by-row
// procedure applied afterwards. Giving a row up early never changes which row
// wins in the plain and tall members, since a row given up would have ended at
// or above the best; the wide perceptual member gives rows up against a
// single-precision threshold, which is reproduced here exactly.
#include <array>

#include "etc1/CpuFeatures.h"
#include "etc1/ModifierRows.h"
#include "etc1/ModifierSearchVariants.h"

namespace ModifierSearchSimd {
namespace {

// Bit i of a visiting-order plane moved to 4 (i / 2) + i % 2, as a wide half has it.
constexpr std::array<uint16_t, 256> MakeWideSpread() {
    std::array<uint16_t, 256> spread{};
    for (uint32_t bits = 0; bits < 256; ++bits) {
        uint32_t value = 0;
        for (uint32_t i = 0; i < 8; ++i) value |= ((bits >> i) & 1u) << (4 * (i / 2) + i % 2);
        spread[bits] = static_cast<uint16_t>(value);
    }
    return spread;
}

constexpr std::array<uint16_t, 256> kWideSpread = MakeWideSpread();

enum class Shape { Tall, Wide };

void WriteRow(const ModifierRows& rows, int32_t q, Shape shape, int32_t& row, uint32_t& msb, uint32_t& lsb) {
    row = q;
    msb = shape == Shape::Tall ? rows.msb[q] : kWideSpread[rows.msb[q]];
    lsb = shape == Shape::Tall ? rows.lsb[q] : kWideSpread[rows.lsb[q]];
}

int32_t AcceptPlain(const ModifierRows& rows, Shape shape, int32_t& row, uint32_t& msb, uint32_t& lsb, int32_t bound) {
    int32_t best = bound;
    int32_t bestRow = -1;
    for (int32_t q = 0; q < 8; ++q) {
        int32_t error = static_cast<int32_t>(rows.error[q]);
        if (error < best) {
            best = error;
            bestRow = q;
        }
    }
    if (bestRow >= 0) WriteRow(rows, bestRow, shape, row, msb, lsb);
    return best;
}

int32_t PlainSearch(Shape shape, const uint8_t* block, int32_t first, const uint8_t* base, int32_t& row, uint32_t& msb,
                    uint32_t& lsb, int32_t bound) {
    ModifierRows rows;
    ComputeModifierRowsAvx2(block, shape == Shape::Tall ? HalfShape::Tall : HalfShape::Wide, first, base,
                            RowMeasure::Plain, rows);
    return AcceptPlain(rows, shape, row, msb, lsb, bound);
}

}  // namespace

bool Available() { return CpuHasAvx2(); }

int32_t Tall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound) {
    return PlainSearch(Shape::Tall, block, column, base, row, msb, lsb, bound);
}

int32_t Wide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound) {
    return PlainSearch(Shape::Wide, block, firstRow, base, row, msb, lsb, bound);
}

uint32_t TallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                        uint32_t& lsb, uint32_t bound) {
    ModifierRows rows;
    ComputeModifierRowsAvx2(block, HalfShape::Tall, column, base, RowMeasure::Perceptual, rows);
    uint32_t best = bound * 1000u;
    int32_t bestRow = -1;
    for (int32_t q = 0; q < 8; ++q) {
        if (rows.error[q] < best) {
            best = rows.error[q];
            bestRow = q;
        }
    }
    if (bestRow >= 0) WriteRow(rows, bestRow, Shape::Tall, row, msb, lsb);
    return best / 1000u;
}

int32_t WidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                       uint32_t& lsb, double bound) {
    ModifierRows rows;
    ComputeModifierRowsAvx2(block, HalfShape::Wide, firstRow, base, RowMeasure::Perceptual, rows);
    // A row is given up once its running sum reaches the threshold of the best
    // so far; sums only grow, so that happens exactly when the complete sum reaches it.
    auto thresholdOf = [](double best) {
        return static_cast<int64_t>(static_cast<double>(static_cast<float>(best)) * 1000.0);
    };
    double best = bound;
    int64_t threshold = thresholdOf(best);
    int32_t bestRow = -1;
    for (int32_t q = 0; q < 8; ++q) {
        if (static_cast<int64_t>(rows.error[q]) >= threshold) continue;
        float error = static_cast<float>(static_cast<double>(rows.error[q]) / 1000.0);
        if (static_cast<double>(error) < best) {
            best = error;
            threshold = thresholdOf(best);
            bestRow = q;
        }
    }
    if (bestRow >= 0) WriteRow(rows, bestRow, Shape::Wide, row, msb, lsb);
    return static_cast<int32_t>(best);
}

}  // namespace ModifierSearchSimd
