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
#include "etc1/ETC1HalfSums.h"

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
constexpr int32_t RoundedLevel5(float average) {
    double t = static_cast<double>(average) * 31.0 / 255.0;
    return static_cast<int32_t>(t >= 0.0 ? t + 0.5 : t - 0.5);
}

constexpr int32_t RoundedLevel4(float average) {
    // Single-precision 0.0001 widened: it moves the rounding point just below the half step.
    constexpr double kEpsilon = static_cast<double>(0.0001f);
    return static_cast<int32_t>(static_cast<double>(average) / 17.0 + 0.5 + kEpsilon);
}

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

// One channel of the average: the expansion of the level just below it minus
// the average (D), D plus the expansion of the next level up minus that of the
// low one (D + K), and the two levels (the top level stays).
struct HueChannel {
    float below;
    float above;
    uint8_t low;
    uint8_t high;
};

constexpr HueChannel HueChannelOf(float average, const HueQuantizer& q) {
    const auto low = static_cast<int32_t>(average / q.step);
    const int32_t high = low + 1 > q.topLevel ? q.topLevel : low + 1;
    const int32_t rise = q.fiveBit ? Expand5(high) - Expand5(low) : Expand4(high) - Expand4(low);
    const float below = static_cast<float>(q.fiveBit ? Expand5(low) : Expand4(low)) - average;
    return {below, below + static_cast<float>(rise), static_cast<uint8_t>(low), static_cast<uint8_t>(high)};
}

// The first combination of least error for the three channels R, G, B: one
// combination after the other, or all eight in one vector (needs AVX2).
int32_t LeastHueCombinationPortable(const HueChannel channels[3], const HueQuantizer& q);
int32_t LeastHueCombinationAvx2(const HueChannel channels[3], const HueQuantizer& q);

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

// The average as HalfAverage gives it.
constexpr float AverageOfHalfSum(int32_t sum) { return static_cast<float>(sum * 0.125); }

// The rounding rule's levels of one channel sum.
struct RoundedLevels {
    uint8_t fiveBit;
    uint8_t fourBit;
};

extern const std::array<RoundedLevels, kLargestHalfSum + 1> kRoundedLevels;

template <uint8_t RoundedLevels::*level>
inline PackedColour PackedLevels(const int32_t* sums) {
    return (static_cast<uint32_t>(kRoundedLevels[static_cast<uint32_t>(sums[0])].*level) << 16) |
           (static_cast<uint32_t>(kRoundedLevels[static_cast<uint32_t>(sums[1])].*level) << 8) |
           kRoundedLevels[static_cast<uint32_t>(sums[2])].*level;
}

inline PackedColour QuantizeRounded555OfSums(const int32_t* sums) {
    return PackedLevels<&RoundedLevels::fiveBit>(sums);
}
inline PackedColour QuantizeRounded444OfSums(const int32_t* sums) {
    return PackedLevels<&RoundedLevels::fourBit>(sums);
}

// The rounding rule's 5-bit levels of the four halves.
inline void QuantizeHalvesRounded555(const int32_t sums[kBlockHalves][3], PackedColour levels[kBlockHalves]) {
    for (int32_t half = 0; half < kBlockHalves; ++half) levels[half] = QuantizeRounded555OfSums(sums[half]);
}

// A hue quantiser of the sums of one half or of the four halves of a block,
// with the combinations one after the other or all eight in one vector (needs AVX2).
PackedColour QuantizeHueOfSumsPortable(const int32_t* sums, const HueQuantizer& q);
PackedColour QuantizeHueOfSumsAvx2(const int32_t* sums, const HueQuantizer& q);
void QuantizeHalvesHuePortable(const int32_t sums[kBlockHalves][3], const HueQuantizer& q,
                               PackedColour levels[kBlockHalves]);
void QuantizeHalvesHueAvx2(const int32_t sums[kBlockHalves][3], const HueQuantizer& q,
                           PackedColour levels[kBlockHalves]);

// Vectorised when the processor runs it.
void QuantizeHalvesHue555(const int32_t sums[kBlockHalves][3], PackedColour levels[kBlockHalves]);
void QuantizeHalvesHue555Perceptual(const int32_t sums[kBlockHalves][3], PackedColour levels[kBlockHalves]);
PackedColour QuantizeHue444OfSums(const int32_t* sums);
PackedColour QuantizeHue444PerceptualOfSums(const int32_t* sums);

}  // namespace ETC1Encoder
