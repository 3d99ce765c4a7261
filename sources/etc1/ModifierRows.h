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

// An error measure sum(w_c d_c^2) written so that each weight is a sum of
// products of 16-bit factors: w_R = aR bR, w_B = aB bB, w_G = aG1 bG1 + aG2 bG2.
// Every factor times 255 (and twice a b factor times 183) fits in int16, which
// lets the kernel use 16-bit multiply-adds and stay exact.
struct MeasureFactors {
    int16_t aR, aB, aG1, aG2;
    int16_t bR, bB, bG1, bG2;
};

inline constexpr MeasureFactors kPlainFactors = {1, 1, 1, 0, 1, 1, 1, 0};
// 299 = 13 x 23, 114 = 6 x 19, 587 = 23 x 25 + 3 x 4.
inline constexpr MeasureFactors kPerceptualFactors = {13, 6, 23, 3, 23, 19, 25, 4};

enum class HalfShape { Tall, Wide };

// The half at first column (tall) or first row (wide) 0 or 2. Needs AVX2.
void ComputeModifierRowsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                             const MeasureFactors& factors, ModifierRows& rows);
