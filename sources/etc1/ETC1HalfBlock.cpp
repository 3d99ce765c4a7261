#include "etc1/ETC1HalfBlock.h"

namespace ETC1Encoder {

namespace {

// With the order known at compile time, every pixel is a load at a fixed offset.
template <int32_t kOrder>
HalfPixels GatherInOrder(const uint8_t* block) {
    constexpr HalfPixelOrder kOrderOfHalf = kHalfOrders[kOrder];
    HalfPixels half;
    for (int32_t i = 0; i < kHalfPixels; ++i) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            half.pixel[i][channel] = block[kOrderOfHalf.offset[i] + channel];
        }
    }
    return half;
}

}  // namespace

HalfPixels GatherHalf(const uint8_t* block, HalfShape shape, int32_t first) {
    switch ((shape == HalfShape::Wide ? 2 : 0) + ((first >> 1) & 1)) {
        case 0: return GatherInOrder<0>(block);
        case 1: return GatherInOrder<1>(block);
        case 2: return GatherInOrder<2>(block);
        default: return GatherInOrder<3>(block);
    }
}

void HalfAverage(const HalfPixels& half, float* average) {
    int32_t sum[3] = {0, 0, 0};
    for (const int32_t(&pixel)[3] : half.pixel) {
        for (int32_t channel = 0; channel < 3; ++channel) sum[channel] += pixel[channel];
    }
    for (int32_t channel = 0; channel < 3; ++channel) average[channel] = static_cast<float>(sum[channel] * 0.125);
}

}  // namespace ETC1Encoder
