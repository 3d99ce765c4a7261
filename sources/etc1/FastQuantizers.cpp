#include "etc1/FastQuantizers.h"

#include "etc1/CpuFeatures.h"
#include "etc1/HueQuantizer.h"

namespace {

float WeightedSquare(float weight, float difference) { return weight * (difference * difference); }

QuantizedColor QuantizeHue(const float* average, const HueQuantizer& q) {
    return CpuHasAvx2() ? QuantizeHueAvx2(average, q) : QuantizeHuePortable(average, q);
}

}  // namespace

QuantizedColor QuantizeHuePortable(const float* average, const HueQuantizer& q) {
    int32_t low[3];
    int32_t high[3];
    float below[3];  // D: expansion of the low level minus the average
    float rise[3];   // K: expansion of the high level minus that of the low one
    for (int32_t c = 0; c < 3; ++c) {
        low[c] = static_cast<int32_t>(average[c] / q.step);
        high[c] = low[c] + 1 > q.topLevel ? q.topLevel : low[c] + 1;
        int32_t lowExpanded = q.fiveBit ? Expand5(low[c]) : Expand4(low[c]);
        int32_t highExpanded = q.fiveBit ? Expand5(high[c]) : Expand4(high[c]);
        below[c] = static_cast<float>(lowExpanded) - average[c];
        rise[c] = static_cast<float>(highExpanded - lowExpanded);
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
    for (int32_t c = 0; c < 3; ++c) {
        result[c] = static_cast<int32_t>(static_cast<double>(average[c]) / 17.0 + 0.5 + kEpsilon);
    }
    return result;
}

QuantizedColor QuantizeHue555(const float* average) { return QuantizeHue(average, kHue555); }
QuantizedColor QuantizeHue444(const float* average) { return QuantizeHue(average, kHue444); }
QuantizedColor QuantizeHue555Perceptual(const float* average) { return QuantizeHue(average, kHue555Perceptual); }
QuantizedColor QuantizeHue444Perceptual(const float* average) { return QuantizeHue(average, kHue444Perceptual); }
