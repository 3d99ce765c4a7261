// The hue quantisers' shared procedure: for every channel the level just below
// the average or the next one up, the combination whose channel errors are most
// alike winning (the lowest combination of equal error).
#pragma once

#include <cstdint>

#include "etc1/FastQuantizers.h"
#include "etc1/HalfBlock.h"

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
