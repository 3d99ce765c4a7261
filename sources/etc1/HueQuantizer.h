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

// Per channel: the two levels, D (expansion of the low level minus the average)
// and K (the rise from the low to the high expansion).
struct HueLevels {
    int32_t low[3];
    int32_t high[3];
    float below[3];
    float rise[3];
};

inline HueLevels FindHueLevels(const float* average, const HueQuantizer& q) {
    HueLevels levels;
    for (int32_t c = 0; c < 3; ++c) {
        levels.low[c] = static_cast<int32_t>(average[c] / q.step);
        levels.high[c] = levels.low[c] + 1 > q.topLevel ? q.topLevel : levels.low[c] + 1;
        int32_t lowExpanded = q.fiveBit ? Expand5(levels.low[c]) : Expand4(levels.low[c]);
        int32_t highExpanded = q.fiveBit ? Expand5(levels.high[c]) : Expand4(levels.high[c]);
        levels.below[c] = static_cast<float>(lowExpanded) - average[c];
        levels.rise[c] = static_cast<float>(highExpanded - lowExpanded);
    }
    return levels;
}

// The winning combination, one error after the other.
int32_t ChooseHueCombination(const HueLevels& levels, const HueQuantizer& q);

// The same, all eight errors at once. Needs AVX2.
int32_t ChooseHueCombinationAvx2(const HueLevels& levels, const HueQuantizer& q);
