// The Fast quantisers for a half given by its channel sums over its eight pixels
// (0..2040 each). A half's average is its sum times 1/8, so everything the
// quantisers derive from a single channel is looked up by the sum, computed
// once per sum by the quantisers of FastQuantizers.h; the results are theirs.
// Levels come packed as R << 16 | G << 8 | B.
#pragma once

#include <array>
#include <cstdint>

#include "etc1/FastQuantizers.h"
#include "etc1/HueQuantizer.h"

using PackedColour = uint32_t;

inline constexpr int32_t kLargestHalfSum = 8 * 255;

// The average as HalfBlockAverageTall and HalfBlockAverageWide give it.
inline float AverageOfHalfSum(int32_t sum) { return static_cast<float>(sum * 0.125); }

// What the quantisers make of one channel sum. The hue quantisers of equal
// step share their low level and D.
struct HalfSumLevels {
    uint8_t rounded5;
    uint8_t rounded4;
    uint8_t hueLow5;
    uint8_t hueLow4;
    float hueBelow5;
    float hueBelow4;
};

extern const std::array<HalfSumLevels, kLargestHalfSum + 1> kHalfSumLevels;

inline const HalfSumLevels& LevelsOfHalfSum(int32_t sum) { return kHalfSumLevels[static_cast<uint32_t>(sum)]; }

template <uint8_t HalfSumLevels::*level>
inline PackedColour PackedLevels(const int32_t* sums) {
    return (static_cast<uint32_t>(LevelsOfHalfSum(sums[0]).*level) << 16) |
           (static_cast<uint32_t>(LevelsOfHalfSum(sums[1]).*level) << 8) | LevelsOfHalfSum(sums[2]).*level;
}

inline PackedColour QuantizeRounded555OfSums(const int32_t* sums) { return PackedLevels<&HalfSumLevels::rounded5>(sums); }
inline PackedColour QuantizeRounded444OfSums(const int32_t* sums) { return PackedLevels<&HalfSumLevels::rounded4>(sums); }

template <const HueQuantizer& q>
inline PackedColour QuantizeHueOfSums(const int32_t* sums) {
    HueChannel channels[3];
    for (int32_t c = 0; c < 3; ++c) {
        const HalfSumLevels& levels = LevelsOfHalfSum(sums[c]);
        channels[c] = q.fiveBit ? HueChannelAt(levels.hueLow5, levels.hueBelow5, q)
                                : HueChannelAt(levels.hueLow4, levels.hueBelow4, q);
    }
    const int32_t combination = HueCombination(channels, q);
    PackedColour levels = 0;
    for (int32_t c = 0; c < 3; ++c) {
        const int32_t level = kTakesHigh[combination][c] ? channels[c].high : channels[c].low;
        levels |= static_cast<uint32_t>(level) << (16 - 8 * c);
    }
    return levels;
}

inline PackedColour QuantizeHue555OfSums(const int32_t* sums) { return QuantizeHueOfSums<kHue555>(sums); }
inline PackedColour QuantizeHue444OfSums(const int32_t* sums) { return QuantizeHueOfSums<kHue444>(sums); }
inline PackedColour QuantizeHue555PerceptualOfSums(const int32_t* sums) {
    return QuantizeHueOfSums<kHue555Perceptual>(sums);
}
inline PackedColour QuantizeHue444PerceptualOfSums(const int32_t* sums) {
    return QuantizeHueOfSums<kHue444Perceptual>(sums);
}
