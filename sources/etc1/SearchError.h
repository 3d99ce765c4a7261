// What a half-block modifier search returns for one base colour, worked out from
// the full error sums of its eight table rows.
#pragma once

#include <cstdint>

#include "etc1/HalfBlock.h"

inline constexpr int32_t kTableRows = 8;

// The search's result when its bound lies above every half error: the smallest
// row sum for the plain measure, the smallest sum in thousandths (truncated) for
// the perceptual tall search, and for the perceptual wide search what its
// single-precision bookkeeping makes of the rows, taken in order. Any search
// called with an integer bound B returns the smaller of B and this value.
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
