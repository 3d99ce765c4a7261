#include "etc1/ETC1FastQuantizers.h"

#include <cstddef>

#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ETC1Encoder {
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

// The hue combinations with AVX2: the eight combinations in the eight lanes of
// one vector. Every lane does the same single-precision operations in the same
// order as the portable loop, so the results are identical.

#if BWVOQ_X86_KERNELS

namespace {

// Lane masks of the combinations taking R, G or B high (combinations 1, 4, 5, 7; 2, 4, 6, 7; 3, 5, 6, 7).
constexpr int kRedHigh = 0xB2;
constexpr int kGreenHigh = 0xD4;
constexpr int kBlueHigh = 0xE8;

BWVOQ_AVX2 inline __m256 WeightedSquare(float weight, __m256 difference) {
    return _mm256_mul_ps(_mm256_set1_ps(weight), _mm256_mul_ps(difference, difference));
}

// D of the channel in every lane, D + K where `mask` takes it high.
template <int mask>
BWVOQ_AVX2 inline __m256 ChannelErrors(const HueChannel& channel) {
    const __m256 low = _mm256_set1_ps(channel.below);
    const __m256 high = _mm256_set1_ps(channel.below + channel.rise);
    return _mm256_blend_ps(low, high, mask);
}

}  // namespace

BWVOQ_AVX2 int32_t LeastHueCombinationAvx2(const HueChannel channels[3], const HueQuantizer& q) {
    const __m256 r = ChannelErrors<kRedHigh>(channels[0]);
    const __m256 g = ChannelErrors<kGreenHigh>(channels[1]);
    const __m256 b = ChannelErrors<kBlueHigh>(channels[2]);
    const __m256 error = _mm256_add_ps(
        _mm256_add_ps(WeightedSquare(q.weightRG, _mm256_sub_ps(r, g)), WeightedSquare(q.weightRB, _mm256_sub_ps(r, b))),
        WeightedSquare(q.weightGB, _mm256_sub_ps(g, b)));
    __m256 lowest = _mm256_min_ps(error, _mm256_permute2f128_ps(error, error, 1));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0x4E));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0xB1));
    // The first combination reaching the least error.
    return __builtin_ctz(static_cast<unsigned>(_mm256_movemask_ps(_mm256_cmp_ps(error, lowest, _CMP_EQ_OQ))));
}

#else

int32_t LeastHueCombinationAvx2(const HueChannel channels[3], const HueQuantizer& q) {
    return LeastHueCombinationPortable(channels, q);
}

#endif

namespace {

std::array<HalfSumLevels, kLargestHalfSum + 1> BuildLevels() {
    std::array<HalfSumLevels, kLargestHalfSum + 1> table{};
    for (int32_t sum = 0; sum <= kLargestHalfSum; ++sum) {
        const float average = AverageOfHalfSum(sum);
        const HueChannel hue5 = HueChannelOf(average, kHue555);
        const HueChannel hue4 = HueChannelOf(average, kHue444);
        table[static_cast<size_t>(sum)] = {static_cast<uint8_t>(RoundedLevel5(average)),
                                           static_cast<uint8_t>(RoundedLevel4(average)),
                                           static_cast<uint8_t>(hue5.low),
                                           static_cast<uint8_t>(hue4.low),
                                           hue5.below,
                                           hue4.below};
    }
    return table;
}

}  // namespace

const std::array<HalfSumLevels, kLargestHalfSum + 1> kHalfSumLevels = BuildLevels();

}  // namespace ETC1Encoder
