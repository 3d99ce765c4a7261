#include "etc1/FastSumQuantizers.h"

#include <cstddef>

namespace {

std::array<HalfSumLevels, kLargestHalfSum + 1> BuildLevels() {
    std::array<HalfSumLevels, kLargestHalfSum + 1> table{};
    for (int32_t sum = 0; sum <= kLargestHalfSum; ++sum) {
        const float average = AverageOfHalfSum(sum);
        const HueChannel hue5 = HueChannelOf(average, kHue555);
        const HueChannel hue4 = HueChannelOf(average, kHue444);
        table[static_cast<size_t>(sum)] = {static_cast<uint8_t>(RoundedLevel5(average)),
                                           static_cast<uint8_t>(RoundedLevel4(average)),
                                           static_cast<uint8_t>(hue5.low),
                                           static_cast<uint8_t>(hue4.low),
                                           hue5.below,
                                           hue4.below};
    }
    return table;
}

}  // namespace

const std::array<HalfSumLevels, kLargestHalfSum + 1> kHalfSumLevels = BuildLevels();
