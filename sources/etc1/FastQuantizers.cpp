#include "etc1/FastQuantizers.h"

#include "etc1/CpuFeatures.h"
#include "etc1/HueQuantizer.h"

namespace {

constexpr float kGreyTieThreshold = 192.0f;

float WeightedSquare(float weight, float difference) { return weight * (difference * difference); }

template <const HueQuantizer& q>
QuantizedColor QuantizeHue(const float* average) {
    const HueLevels levels = FindHueLevels(average, q);
    int32_t winner = CpuHasAvx2() ? ChooseHueCombinationAvx2(levels, q) : ChooseHueCombination(levels, q);
    if (q.settlesGreyTies && (winner == 0 || winner == 7)) {
        const float* d = levels.below;
        float distance = (d[1] * d[1] + d[0] * d[0]) + d[2] * d[2];
        winner = distance > kGreyTieThreshold ? 7 : 0;
    }
    QuantizedColor result;
    for (int32_t c = 0; c < 3; ++c) {
        // Without a branch: the winner is data, and mispredicting it costs more than the arithmetic.
        int32_t takesHigh = kTakesHigh[winner][c] ? 1 : 0;
        result[c] = levels.low[c] + takesHigh * (levels.high[c] - levels.low[c]);
    }
    return result;
}

}  // namespace

int32_t ChooseHueCombination(const HueLevels& levels, const HueQuantizer& q) {
    int32_t winner = 0;
    float winnerError = 0.0f;
    for (int32_t combination = 0; combination < 8; ++combination) {
        float e[3];
        for (int32_t c = 0; c < 3; ++c) {
            e[c] = kTakesHigh[combination][c] ? levels.below[c] + levels.rise[c] : levels.below[c];
        }
        float error = (WeightedSquare(q.weightRG, e[0] - e[1]) + WeightedSquare(q.weightRB, e[0] - e[2])) +
                      WeightedSquare(q.weightGB, e[1] - e[2]);
        if (combination == 0 || error < winnerError) {
            winner = combination;
            winnerError = error;
        }
    }
    return winner;
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

QuantizedColor QuantizeHue555(const float* average) { return QuantizeHue<kHue555>(average); }
QuantizedColor QuantizeHue444(const float* average) { return QuantizeHue<kHue444>(average); }
QuantizedColor QuantizeHue555Perceptual(const float* average) { return QuantizeHue<kHue555Perceptual>(average); }
QuantizedColor QuantizeHue444Perceptual(const float* average) { return QuantizeHue<kHue444Perceptual>(average); }
