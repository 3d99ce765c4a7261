#include "etc1/FastQuantizers.h"

#include "etc1/HueQuantizer.h"
#include "platform/ProcessorFeatures.h"

namespace {

float WeightedSquare(float weight, float difference) { return weight * (difference * difference); }

QuantizedColor QuantizeHue(const float* average, const HueQuantizer& q) {
    return Platform::ProcessorHasAvx2() ? QuantizeHueAvx2(average, q) : QuantizeHuePortable(average, q);
}

// With K_R = K_G = K_B combinations 0 and 7 tie; some quantisers decide again by distance.
int32_t SettleGreyTie(int32_t winner, const HueChannel channels[3], const HueQuantizer& q) {
    if (!q.settlesGreyTies || (winner != 0 && winner != 7)) return winner;
    const float r = channels[0].below;
    const float g = channels[1].below;
    const float b = channels[2].below;
    float distance = (g * g + r * r) + b * b;
    return distance > kGreyTieThreshold ? 7 : 0;
}

}  // namespace

HueChannel HueChannelOf(float average, const HueQuantizer& q) {
    const auto low = static_cast<int32_t>(average / q.step);
    const int32_t expansion = q.fiveBit ? Expand5(low) : Expand4(low);
    return HueChannelAt(low, static_cast<float>(expansion) - average, q);
}

int32_t LeastHueCombinationPortable(const HueChannel channels[3], const HueQuantizer& q) {
    int32_t winner = 0;
    float winnerError = 0.0f;
    for (int32_t combination = 0; combination < 8; ++combination) {
        float e[3];
        for (int32_t c = 0; c < 3; ++c) {
            e[c] = kTakesHigh[combination][c] ? channels[c].below + channels[c].rise : channels[c].below;
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

int32_t HueCombination(const HueChannel channels[3], const HueQuantizer& q) {
    const int32_t least =
        Platform::ProcessorHasAvx2() ? LeastHueCombinationAvx2(channels, q) : LeastHueCombinationPortable(channels, q);
    return SettleGreyTie(least, channels, q);
}

QuantizedColor QuantizeHuePortable(const float* average, const HueQuantizer& q) {
    const HueChannel channels[3] = {HueChannelOf(average[0], q), HueChannelOf(average[1], q),
                                    HueChannelOf(average[2], q)};
    return HueLevels(channels, SettleGreyTie(LeastHueCombinationPortable(channels, q), channels, q));
}

QuantizedColor QuantizeHueAvx2(const float* average, const HueQuantizer& q) {
    const HueChannel channels[3] = {HueChannelOf(average[0], q), HueChannelOf(average[1], q),
                                    HueChannelOf(average[2], q)};
    return HueLevels(channels, SettleGreyTie(LeastHueCombinationAvx2(channels, q), channels, q));
}

int32_t RoundedLevel5(float average) {
    double t = static_cast<double>(average) * 31.0 / 255.0;
    return static_cast<int32_t>(t >= 0.0 ? t + 0.5 : t - 0.5);
}

int32_t RoundedLevel4(float average) {
    // Single-precision 0.0001 widened: it moves the rounding point just below the half step.
    constexpr double kEpsilon = static_cast<double>(0.0001f);
    return static_cast<int32_t>(static_cast<double>(average) / 17.0 + 0.5 + kEpsilon);
}

QuantizedColor QuantizeRounded555(const float* average) {
    return {RoundedLevel5(average[0]), RoundedLevel5(average[1]), RoundedLevel5(average[2])};
}

QuantizedColor QuantizeRounded444(const float* average) {
    return {RoundedLevel4(average[0]), RoundedLevel4(average[1]), RoundedLevel4(average[2])};
}

QuantizedColor QuantizeHue555(const float* average) { return QuantizeHue(average, kHue555); }
QuantizedColor QuantizeHue444(const float* average) { return QuantizeHue(average, kHue444); }
QuantizedColor QuantizeHue555Perceptual(const float* average) { return QuantizeHue(average, kHue555Perceptual); }
QuantizedColor QuantizeHue444Perceptual(const float* average) { return QuantizeHue(average, kHue444Perceptual); }
