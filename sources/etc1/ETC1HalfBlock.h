// The two halves of a 4x4 block: their shapes, the order in which the
// searches visit their pixels, their average colours, and the two ways of
// measuring a colour error.
//
// The block is 16 pixels row by row, three bytes R, G, B each (48 bytes).
#pragma once

#include <cstdint>

#include "image/ETC1BlockFormat.h"

namespace ETC1Encoder {

using ImageLib::ETC1Format::Expand4;
using ImageLib::ETC1Format::Expand5;

// Tall halves lie side by side (columns 0-1 and 2-3, flip bit 0); wide halves
// one above the other (rows 0-1 and 2-3, flip bit 1).
enum class HalfShape { Tall, Wide };

// Plain: sum of squared channel differences. Perceptual: the squares weighted
// 299, 587, 114 (the sums are in thousandths of the returned unit).
enum class ErrorMeasure { Plain, Perceptual };

// 3 x 16 x 255^2 and 3 x 8 x 255^2: above every block's and every half's error
// in both measures, so a search started with them always finds something.
inline constexpr int32_t kAboveEveryBlockError = 3 * 16 * 255 * 255;
inline constexpr int32_t kAboveEveryHalfError = 3 * 8 * 255 * 255;
static_assert(kAboveEveryBlockError == 3121200 && kAboveEveryHalfError == 1560600);

inline constexpr int32_t kHalfPixels = 8;

// Where the eight pixels of a half lie in the block, in the order in which the
// searches visit them, and where each pixel's index bit goes in the
// half-relative index planes.
struct HalfPixelOrder {
    uint8_t offset[kHalfPixels];  // byte offset of the i-th visited pixel
    uint8_t bit[kHalfPixels];     // its bit in the half's planes
};

// A tall half at first column c visits column c rows 0..3, then column c + 1.
constexpr HalfPixelOrder TallOrder(int32_t column) {
    HalfPixelOrder order{};
    for (int32_t i = 0; i < kHalfPixels; ++i) {
        int32_t x = column + i / 4;
        int32_t y = i % 4;
        order.offset[i] = static_cast<uint8_t>(3 * (4 * y + x));
        order.bit[i] = static_cast<uint8_t>(i);
    }
    return order;
}

// A wide half at first row r visits column 0 rows r, r + 1, then columns 1, 2, 3.
constexpr HalfPixelOrder WideOrder(int32_t firstRow) {
    HalfPixelOrder order{};
    for (int32_t i = 0; i < kHalfPixels; ++i) {
        int32_t x = i / 2;
        int32_t y = firstRow + i % 2;
        order.offset[i] = static_cast<uint8_t>(3 * (4 * y + x));
        order.bit[i] = static_cast<uint8_t>(4 * (i / 2) + i % 2);
    }
    return order;
}

// Tall at column 0 and 2, wide at row 0 and 2.
inline constexpr HalfPixelOrder kHalfOrders[4] = {TallOrder(0), TallOrder(2), WideOrder(0), WideOrder(2)};

// The order of the half at first column (tall) or first row (wide) 0 or 2.
inline const HalfPixelOrder& HalfOrder(HalfShape shape, int32_t first) {
    return kHalfOrders[(shape == HalfShape::Wide ? 2 : 0) + ((first >> 1) & 1)];
}

// The codewords of the two halves and the flip bit of their shape, as the
// high word holds them.
inline uint32_t CodewordsAndFlip(int32_t codeword1, int32_t codeword2, HalfShape shape) {
    namespace Format = ImageLib::ETC1Format;
    return static_cast<uint32_t>(codeword1) << Format::kCodeword1Shift |
           static_cast<uint32_t>(codeword2) << Format::kCodeword2Shift |
           (shape == HalfShape::Wide ? Format::kFlipBit : 0u);
}

// The low word from the two halves' index planes as the modifier searches give
// them: the second half starts at column 2 (tall) or row 2 (wide).
inline uint32_t JoinIndexPlanes(uint32_t msb1, uint32_t lsb1, uint32_t msb2, uint32_t lsb2, HalfShape shape) {
    namespace Format = ImageLib::ETC1Format;
    const int32_t shift = shape == HalfShape::Tall ? Format::PixelBit(2, 0) : Format::PixelBit(0, 2);
    const uint32_t plane = Format::FieldMask(Format::kPlaneBits);
    const uint32_t msb = (msb1 | msb2 << shift) & plane;
    const uint32_t lsb = (lsb1 | lsb2 << shift) & plane;
    return msb << Format::kMsbPlaneShift | lsb;
}

// The eight pixels of one half, R, G, B each, in visiting order.
struct HalfPixels {
    int32_t pixel[kHalfPixels][3];
};

HalfPixels GatherHalf(const uint8_t* block, HalfShape shape, int32_t first);

// The average colour of a half: its channel sums times 1/8 in double, kept as floats.
void HalfAverage(const HalfPixels& half, float* average);

}  // namespace ETC1Encoder
