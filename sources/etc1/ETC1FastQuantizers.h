// Quantisers of a half-block's average colour into 5-bit or 4-bit levels for the
// Fast methods.
//
// The rounding rule rounds each channel on its own. The hue quantisers take, per
// channel, the level just below the average or the next one up, choosing the
// combination whose channel errors are as equal as possible, so that the colour
// moves along the grey axis instead of changing its hue.
#pragma once

#include <array>
#include <cstdint>

#include "etc1/ETC1HalfBlock.h"

namespace ETC1Encoder {

// R, G, B levels: 0..31 or 0..15.
using QuantizedColor = std::array<int32_t, 3>;

QuantizedColor QuantizeRounded555(const float* average);
QuantizedColor QuantizeRounded444(const float* average);

QuantizedColor QuantizeHue555(const float* average);
QuantizedColor QuantizeHue444(const float* average);
QuantizedColor QuantizeHue555Perceptual(const float* average);
QuantizedColor QuantizeHue444Perceptual(const float* average);

// The rounding rule for one channel.
int32_t RoundedLevel5(float average);
int32_t RoundedLevel4(float average);

// The hue quantisers' shared procedure: for every channel the level just below
// the average or the next one up, the combination whose channel errors are most
// alike winning (the lowest combination of equal error).

struct HueQuantizer {
    float step;
    int32_t topLevel;
    bool fiveBit;  // levels 0..31 expanded as (v << 3) | (v >> 2), else 0..15 as 17 v
    float weightRG, weightRB, weightGB;
    bool settlesGreyTies;  // all-low against all-high decided again by distance
};

inline constexpr float kStep5 = 255.0f / 31.0f;
inline constexpr float kGreyTieThreshold = 192.0f;

inline constexpr HueQuantizer kHue555 = {kStep5, 31, true, 1.0f, 1.0f, 1.0f, false};
inline constexpr HueQuantizer kHue444 = {17.0f, 15, false, 1.0f, 1.0f, 1.0f, true};
// The products of the luma weights: 0.299 x 0.587, 0.299 x 0.114, 0.587 x 0.114.
inline constexpr HueQuantizer kHue555Perceptual = {kStep5, 31, true, 0.175513f, 0.034086f, 0.066918f, false};
inline constexpr HueQuantizer kHue444Perceptual = {17.0f, 15, false, 0.175513f, 0.034086f, 0.066918f, false};

// The channels each combination takes high: LLL, HLL, LHL, LLH, HHL, HLH, LHH, HHH.
inline constexpr bool kTakesHigh[8][3] = {
    {false, false, false}, {true, false, false}, {false, true, false}, {false, false, true},
    {true, true, false},   {true, false, true},  {false, true, true},  {true, true, true},
};

// One channel of the average: the level just below it, the next one up (the
// top level stays), the expansion of the low level minus the average (D) and
// the expansion of the high level minus that of the low one (K).
struct HueChannel {
    int32_t low;
    int32_t high;
    float below;
    float rise;
};

HueChannel HueChannelOf(float average, const HueQuantizer& q);

// The same from the low level and D.
inline HueChannel HueChannelAt(int32_t low, float below, const HueQuantizer& q) {
    const int32_t high = low + 1 > q.topLevel ? q.topLevel : low + 1;
    const int32_t rise = q.fiveBit ? Expand5(high) - Expand5(low) : Expand4(high) - Expand4(low);
    return {low, high, below, static_cast<float>(rise)};
}

// The first combination of least error for the three channels R, G, B: one
// combination after the other, or all eight in one vector (needs AVX2).
int32_t LeastHueCombinationPortable(const HueChannel channels[3], const HueQuantizer& q);
int32_t LeastHueCombinationAvx2(const HueChannel channels[3], const HueQuantizer& q);

// The quantiser's combination: the least one, a grey tie settled where the
// quantiser does so; vectorised when the processor runs it.
int32_t HueCombination(const HueChannel channels[3], const HueQuantizer& q);

// The levels the combination names.
inline QuantizedColor HueLevels(const HueChannel channels[3], int32_t combination) {
    QuantizedColor result;
    for (int32_t c = 0; c < 3; ++c) result[c] = kTakesHigh[combination][c] ? channels[c].high : channels[c].low;
    return result;
}

// The quantiser of an average, with either combination.
QuantizedColor QuantizeHuePortable(const float* average, const HueQuantizer& q);
QuantizedColor QuantizeHueAvx2(const float* average, const HueQuantizer& q);

// The Fast quantisers for a half given by its channel sums over its eight pixels
// (0..2040 each). A half's average is its sum times 1/8, so everything the
// quantisers derive from a single channel is looked up by the sum, computed
// once per sum by the quantisers above; the results are theirs.
// Levels come packed as R << 16 | G << 8 | B.

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

}  // namespace ETC1Encoder
