// All eight modifier-table rows of one half evaluated at once, for the
// vectorised searches: each row's complete error (internal units, nothing given
// up) and its index planes with bit i for the i-th visited pixel.
#pragma once

#include <cstdint>

struct ModifierRows {
    uint32_t error[8];
    uint32_t msb[8];
    uint32_t lsb[8];
};

// Plain: dR^2 + dG^2 + dB^2. Perceptual: 299 dR^2 + 587 dG^2 + 114 dB^2.
enum class RowMeasure { Plain, Perceptual };

enum class HalfShape { Tall, Wide };

// The half at first column (tall) or first row (wide) 0 or 2. Needs AVX2.
void ComputeModifierRowsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                             RowMeasure measure, ModifierRows& rows);
