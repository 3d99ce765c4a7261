// The modifier search over one half of a 4x4 RGB block.
//
// Given a half and its base colour, every row of the modifier table is tried;
// each pixel takes the slot of the row whose candidate colour (base plus the
// slot's modifier, clamped to 0..255) is nearest, and the row with the smallest
// total error wins. On equal pixel errors the lower slot wins; on equal row
// errors the earlier row stays. A search writes its three outputs only when some
// row's error is strictly below the bound; otherwise the outputs keep what they
// held and the result is the bound.
//
// The searches evaluate all eight rows completely (ETC1ModifierRows.h) and then
// pick their row by the rules of the row-by-row procedure, which gives a row up
// once it cannot end below the best so far: in the plain and tall perceptual
// searches that never changes the winner; the wide perceptual search compares
// through single-precision values, reproduced here.
//
// Index planes come back relative to the half: a tall half (first column c) puts
// the pixel in column x, row y at bit 4 (x - c) + y; a wide half (first row r) at
// bit 4x + (y - r). The high bit of a pixel's two-bit index goes to `msb`, the
// low bit to `lsb`.
//
// Errors: plain is the sum of dR^2 + dG^2 + dB^2; perceptual is the sum of
// 299 dR^2 + 587 dG^2 + 114 dB^2 (internal units) divided by 1000.
#pragma once

#include <cstdint>

#include "etc1/ETC1HalfBlock.h"
#include "etc1/ETC1ModifierRows.h"

namespace ETC1Encoder {

// Plain error of the tall half at `column` (0 or 2) against `base` (R, G, B).
int32_t ModifierSearchTall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound);

// Plain error of the wide half at `firstRow` (0 or 2).
int32_t ModifierSearchWide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound);

// Perceptual error of a tall half: the best internal sum divided by 1000, the
// remainder dropped. The bound (perceptual units) must not exceed 4,294,967.
uint32_t ModifierSearchTallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row,
                                      uint32_t& msb, uint32_t& lsb, uint32_t bound);

// Perceptual error of a wide half. The search keeps its best as a double,
// hands it to each row as a float, gives a row up once its sum reaches that
// float times 1000 (truncated), and takes a finished row when its sum / 1000,
// rounded to float, is below the best; so a row only slightly better than the
// best so far can be given up. The result is the best truncated to int32.
int32_t ModifierSearchWidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row,
                                     uint32_t& msb, uint32_t& lsb, double bound);

// The first row of least error when that error lies strictly below `bound`
// (internal units), else -1.
inline int32_t LeastModifierRow(const ModifierRows& rows, uint32_t bound) {
    return rows.error[rows.least] < bound ? rows.least : -1;
}

// The wide perceptual search's row, or -1 when none beats `best`. `best` comes
// in as the search's bound and goes out as its best error (a single-precision
// value of thousands, kept as a double).
int32_t WidePerceptualModifierRow(const ModifierRows& rows, double& best);

// A row's visiting-order plane as the search returns it: unchanged for a tall
// half, bit i moved to 4 (i / 2) + i % 2 for a wide one.
inline uint32_t HalfPlane(uint32_t bits, HalfShape shape) {
    if (shape == HalfShape::Tall) return bits;
    return (bits & 0x03u) | ((bits & 0x0Cu) << 2) | ((bits & 0x30u) << 4) | ((bits & 0xC0u) << 6);
}

// What a search returns for one base colour from its eight row sums alone,
// when its bound lies above every half error: the smallest row sum for the
// plain measure, the smallest sum in thousandths (truncated) for the perceptual
// tall search, and for the perceptual wide search what its single-precision
// bookkeeping makes of the rows, taken in order. Any search called with an
// integer bound B returns the smaller of B and this value.
int32_t SearchErrorFromRowSums(ErrorMeasure measure, HalfShape shape, const uint32_t rowSums[kTableRows]);

// Row sums are kept in the measure's internal units: a search error of `limit`
// or more follows from a smallest row sum of InternalLimit(limit) or more.
inline constexpr uint32_t InternalLimit(ErrorMeasure measure, int32_t limit) {
    return measure == ErrorMeasure::Plain ? static_cast<uint32_t>(limit) : static_cast<uint32_t>(limit) * 1000u;
}

// The least error a search can return when none of its row sums lies below
// `rowSum` (internal units): the perceptual searches never round a sum in
// thousandths below its whole part.
inline constexpr int32_t LeastSearchError(ErrorMeasure measure, uint32_t rowSum) {
    return static_cast<int32_t>(measure == ErrorMeasure::Plain ? rowSum : rowSum / 1000u);
}

}  // namespace ETC1Encoder
