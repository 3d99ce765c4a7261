// How a search picks its row from the complete errors of all eight rows
// (ModifierRows.h), giving the result the row-by-row procedure gives: that
// procedure gives a row up once it cannot end below the best so far, which in
// the plain and tall perceptual searches never changes the winner; the wide
// perceptual search compares through single-precision values, reproduced here.
#pragma once

#include <cstdint>

#include "etc1/HalfBlock.h"
#include "etc1/ModifierRows.h"

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
