#include "etc1/FastQuantizers.h"

namespace {

struct HueQuantizer {
    float step;
    int32_t topLevel;
    int32_t (*expand)(int32_t level);
    float weightRG, weightRB, weightGB;
    bool settlesGreyTies;  // all-low against all-high decided again by distance
};

constexpr float kStep5 = 255.0f / 31.0f;
constexpr float kGreyTieThreshold = 192.0f;

// Channel R, G, B taken high by each combination: LLL, HLL, LHL, LLH, HHL, HLH, LHH, HHH.
constexpr bool kTakesHigh[8][3] = {
    {false, false, false}, {true, false, false}, {false, true, false}, {false, false, true},
    {true, true, false},   {true, false, true},  {false, true, true},  {true, true, true},
};

constexpr HueQuantizer kHue555 = {kStep5, 31, Expand5, 1.0f, 1.0f, 1.0f, false};
constexpr HueQuantizer kHue444 = {17.0f, 15, Expand4, 1.0f, 1.0f, 1.0f, true};
// The products of the luma weights: 0.299 x 0.587, 0.299 x 0.114, 0.587 x 0.114.
constexpr HueQuantizer kHue555Perceptual = {kStep5, 31, Expand5, 0.175513f, 0.034086f, 0.066918f, false};
constexpr HueQuantizer kHue444Perceptual = {17.0f, 15, Expand4, 0.175513f, 0.034086f, 0.066918f, false};

float WeightedSquare(float weight, float difference) { return weight * (difference * difference); }

QuantizedColor QuantizeHue(const float* average, const HueQuantizer& q) {
    int32_t low[3];
    int32_t high[3];
    float below[3];  // D: expansion of the low level minus the average
    float rise[3];   // K: expansion of the high level minus that of the low one
    for (int32_t c = 0; c < 3; ++c) {
        low[c] = static_cast<int32_t>(average[c] / q.step);
        high[c] = low[c] + 1 > q.topLevel ? q.topLevel : low[c] + 1;
        below[c] = static_cast<float>(q.expand(low[c])) - average[c];
        rise[c] = static_cast<float>(q.expand(high[c]) - q.expand(low[c]));
    }
    int32_t winner = 0;
    float winnerError = 0.0f;
    for (int32_t combination = 0; combination < 8; ++combination) {
        float e[3];
        for (int32_t c = 0; c < 3; ++c) e[c] = kTakesHigh[combination][c] ? below[c] + rise[c] : below[c];
        float error = (WeightedSquare(q.weightRG, e[0] - e[1]) + WeightedSquare(q.weightRB, e[0] - e[2])) +
                      WeightedSquare(q.weightGB, e[1] - e[2]);
        if (combination == 0 || error < winnerError) {
            winner = combination;
            winnerError = error;
        }
    }
    if (q.settlesGreyTies && (winner == 0 || winner == 7)) {
        float distance = (below[1] * below[1] + below[0] * below[0]) + below[2] * below[2];
        winner = distance > kGreyTieThreshold ? 7 : 0;
    }
    QuantizedColor result;
    for (int32_t c = 0; c < 3; ++c) result[c] = kTakesHigh[winner][c] ? high[c] : low[c];
    return result;
}

}  // namespace

QuantizedColor QuantizeRounded555(const float* average) {
    QuantizedColor result;
    for (int32_t c = 0; c < 3; ++c) {
        double t = static_cast<double>(average[c]) * 31.0 / 255.0;
        result[c] = static_cast<int32_t>(t >= 0.0 ? t + 0.5 : t - 0.5);
    }
    return result;
}

QuantizedColor QuantizeRounded444(const float* average) {
    // Single-precision 0.0001 widened: it moves the rounding point just below the half step.
    constexpr double kEpsilon = static_cast<double>(0.0001f);
    QuantizedColor result;
    for (int32_t c = 0; c < 3; ++c)
        result[c] = static_cast<int32_t>(static_cast<double>(average[c]) / 17.0 + 0.5 + kEpsilon);
    return result;
}

QuantizedColor QuantizeHue555(const float* average) { return QuantizeHue(average, kHue555); }
QuantizedColor QuantizeHue444(const float* average) { return QuantizeHue(average, kHue444); }
QuantizedColor QuantizeHue555Perceptual(const float* average) { return QuantizeHue(average, kHue555Perceptual); }
QuantizedColor QuantizeHue444Perceptual(const float* average) { return QuantizeHue(average, kHue444Perceptual); }
