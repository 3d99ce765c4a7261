#include "etc1/ETC1HalfBlock.h"

namespace ETC1Encoder {

HalfPixels GatherHalf(const uint8_t* block, HalfShape shape, int32_t first) {
    const HalfPixelOrder& order = HalfOrder(shape, first);
    HalfPixels half{};
    for (int32_t i = 0; i < kHalfPixels; ++i) {
        for (int32_t channel = 0; channel < 3; ++channel) half.pixel[i][channel] = block[order.offset[i] + channel];
    }
    return half;
}

namespace {

// Channel sums of the pixels in columns x0..x0+width-1 and rows y0..y0+height-1,
// each scaled by 1/8 in double and kept as a float.
void AverageOfRect(const uint8_t* block, int32_t x0, int32_t y0, int32_t width, int32_t height, float* average) {
    int32_t sum[3] = {0, 0, 0};
    for (int32_t y = y0; y < y0 + height; ++y) {
        for (int32_t x = x0; x < x0 + width; ++x) {
            const uint8_t* pixel = block + 3 * (4 * y + x);
            for (int32_t channel = 0; channel < 3; ++channel) sum[channel] += pixel[channel];
        }
    }
    for (int32_t channel = 0; channel < 3; ++channel) average[channel] = static_cast<float>(sum[channel] * 0.125);
}

}  // namespace

void HalfBlockAverageTall(const uint8_t* block, int32_t column, float* average) {
    AverageOfRect(block, column, 0, 2, 4, average);
}

void HalfBlockAverageWide(const uint8_t* block, int32_t row, float* average) {
    AverageOfRect(block, 0, row, 4, 2, average);
}

}  // namespace ETC1Encoder
