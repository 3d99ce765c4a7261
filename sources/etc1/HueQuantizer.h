// The hue quantisers' shared procedure: for every channel the level just below
// the average or the next one up, the combination whose channel errors are most
// alike winning (the lowest combination of equal error).
#pragma once

#include <cstdint>

#include "etc1/FastQuantizers.h"

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

// One channel at a time, one combination after the other.
QuantizedColor QuantizeHuePortable(const float* average, const HueQuantizer& q);

// The three channels and the eight combinations each in one vector. Needs AVX2.
QuantizedColor QuantizeHueAvx2(const float* average, const HueQuantizer& q);
