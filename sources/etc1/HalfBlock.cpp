#include "etc1/HalfBlock.h"

HalfPixels GatherHalf(const uint8_t* block, HalfShape shape, int32_t first) {
    HalfPixels half{};
    for (int32_t i = 0; i < kHalfPixels; ++i) {
        int32_t x = shape == HalfShape::Tall ? first + i / 4 : i / 2;
        int32_t y = shape == HalfShape::Tall ? i % 4 : first + i % 2;
        for (int32_t channel = 0; channel < 3; ++channel) half.pixel[i][channel] = block[3 * (4 * y + x) + channel];
    }
    return half;
}
