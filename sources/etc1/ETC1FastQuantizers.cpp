#include "etc1/ETC1FastQuantizers.h"

#include <cstddef>

#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ETC1Encoder {
namespace {

const bool kUseAvx2 = Platform::ProcessorHasAvx2();

float WeightedSquare(float weight, float difference) { return weight * (difference * difference); }

QuantizedColor QuantizeHue(const float* average, const HueQuantizer& q) {
    return kUseAvx2 ? QuantizeHueAvx2(average, q) : QuantizeHuePortable(average, q);
}

// With K_R = K_G = K_B combinations 0 and 7 tie; some quantisers decide again by distance.
int32_t SettleGreyTie(int32_t winner, const HueChannel& red, const HueChannel& green, const HueChannel& blue,
                      const HueQuantizer& q) {
    if (!q.settlesGreyTies || (winner != 0 && winner != 7)) return winner;
    const float r = red.below;
    const float g = green.below;
    const float b = blue.below;
    float distance = (g * g + r * r) + b * b;
    return distance > kGreyTieThreshold ? 7 : 0;
}

int32_t SettleGreyTie(int32_t winner, const HueChannel channels[3], const HueQuantizer& q) {
    return SettleGreyTie(winner, channels[0], channels[1], channels[2], q);
}

}  // namespace

int32_t LeastHueCombinationPortable(const HueChannel channels[3], const HueQuantizer& q) {
    int32_t winner = 0;
    float winnerError = 0.0f;
    for (int32_t combination = 0; combination < 8; ++combination) {
        float e[3];
        for (int32_t c = 0; c < 3; ++c) {
            e[c] = kTakesHigh[combination][c] ? channels[c].above : channels[c].below;
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
    const __m256 high = _mm256_set1_ps(channel.above);
    return _mm256_blend_ps(low, high, mask);
}

// The eight combinations' errors, combination n in lane n.
BWVOQ_AVX2 inline __m256 CombinationErrors(const HueChannel& red, const HueChannel& green, const HueChannel& blue,
                                           const HueQuantizer& q) {
    const __m256 r = ChannelErrors<kRedHigh>(red);
    const __m256 g = ChannelErrors<kGreenHigh>(green);
    const __m256 b = ChannelErrors<kBlueHigh>(blue);
    return _mm256_add_ps(
        _mm256_add_ps(WeightedSquare(q.weightRG, _mm256_sub_ps(r, g)), WeightedSquare(q.weightRB, _mm256_sub_ps(r, b))),
        WeightedSquare(q.weightGB, _mm256_sub_ps(g, b)));
}

// The first combination reaching the least error.
BWVOQ_AVX2 inline int32_t FirstLeastCombination(__m256 error) {
    __m256 lowest = _mm256_min_ps(error, _mm256_permute2f128_ps(error, error, 1));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0x4E));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0xB1));
    return __builtin_ctz(static_cast<unsigned>(_mm256_movemask_ps(_mm256_cmp_ps(error, lowest, _CMP_EQ_OQ))));
}

}  // namespace

BWVOQ_AVX2 int32_t LeastHueCombinationAvx2(const HueChannel channels[3], const HueQuantizer& q) {
    return FirstLeastCombination(CombinationErrors(channels[0], channels[1], channels[2], q));
}

#else

int32_t LeastHueCombinationAvx2(const HueChannel channels[3], const HueQuantizer& q) {
    return LeastHueCombinationPortable(channels, q);
}

#endif

namespace {

// The tables are worked out by the compiler, so a run does not fill them at its start.
constexpr std::array<RoundedLevels, kLargestHalfSum + 1> BuildRoundedLevels() {
    std::array<RoundedLevels, kLargestHalfSum + 1> table{};
    for (int32_t sum = 0; sum <= kLargestHalfSum; ++sum) {
        const float average = AverageOfHalfSum(sum);
        table[static_cast<size_t>(sum)] = {static_cast<uint8_t>(RoundedLevel5(average)),
                                           static_cast<uint8_t>(RoundedLevel4(average))};
    }
    return table;
}

using HueChannels = std::array<HueChannel, kLargestHalfSum + 1>;

// The channels by sum; the quantisers of one step share them.
constexpr HueChannels BuildHueChannels(const HueQuantizer& q) {
    HueChannels table{};
    for (int32_t sum = 0; sum <= kLargestHalfSum; ++sum) {
        table[static_cast<size_t>(sum)] = HueChannelOf(AverageOfHalfSum(sum), q);
    }
    return table;
}

constexpr HueChannels kHueChannels5 = BuildHueChannels(kHue555);
constexpr HueChannels kHueChannels4 = BuildHueChannels(kHue444);

// The table entries of the three channel sums, R, G, B.
struct SumChannels {
    const HueChannel& red;
    const HueChannel& green;
    const HueChannel& blue;
};

SumChannels ChannelsOfSums(const int32_t* sums, const HueQuantizer& q) {
    const HueChannels& table = q.fiveBit ? kHueChannels5 : kHueChannels4;
    return {table[static_cast<uint32_t>(sums[0])], table[static_cast<uint32_t>(sums[1])],
            table[static_cast<uint32_t>(sums[2])]};
}

PackedColour PackedHueLevels(const SumChannels& channels, int32_t combination) {
    const bool* high = kTakesHigh[combination];
    return (uint32_t{high[0] ? channels.red.high : channels.red.low} << 16) |
           (uint32_t{high[1] ? channels.green.high : channels.green.low} << 8) |
           uint32_t{high[2] ? channels.blue.high : channels.blue.low};
}

int32_t SettleGreyTie(int32_t winner, const SumChannels& channels, const HueQuantizer& q) {
    return SettleGreyTie(winner, channels.red, channels.green, channels.blue, q);
}

}  // namespace

constexpr std::array<RoundedLevels, kLargestHalfSum + 1> kRoundedLevels = BuildRoundedLevels();

PackedColour QuantizeHueOfSumsPortable(const int32_t* sums, const HueQuantizer& q) {
    const SumChannels channels = ChannelsOfSums(sums, q);
    const HueChannel values[3] = {channels.red, channels.green, channels.blue};
    return PackedHueLevels(channels, SettleGreyTie(LeastHueCombinationPortable(values, q), channels, q));
}

void QuantizeHalvesHuePortable(const int32_t sums[kBlockHalves][3], const HueQuantizer& q,
                               PackedColour levels[kBlockHalves]) {
    for (int32_t half = 0; half < kBlockHalves; ++half) levels[half] = QuantizeHueOfSumsPortable(sums[half], q);
}

#if BWVOQ_X86_KERNELS

BWVOQ_AVX2 PackedColour QuantizeHueOfSumsAvx2(const int32_t* sums, const HueQuantizer& q) {
    const SumChannels channels = ChannelsOfSums(sums, q);
    const __m256 errors = CombinationErrors(channels.red, channels.green, channels.blue, q);
    return PackedHueLevels(channels, SettleGreyTie(FirstLeastCombination(errors), channels, q));
}

// All errors first, so that the halves' chains of dependent steps overlap.
BWVOQ_AVX2 void QuantizeHalvesHueAvx2(const int32_t sums[kBlockHalves][3], const HueQuantizer& q,
                                      PackedColour levels[kBlockHalves]) {
    const SumChannels channels[kBlockHalves] = {ChannelsOfSums(sums[0], q), ChannelsOfSums(sums[1], q),
                                                ChannelsOfSums(sums[2], q), ChannelsOfSums(sums[3], q)};
    __m256 errors[kBlockHalves];
    for (int32_t half = 0; half < kBlockHalves; ++half) {
        errors[half] = CombinationErrors(channels[half].red, channels[half].green, channels[half].blue, q);
    }
    for (int32_t half = 0; half < kBlockHalves; ++half) {
        const int32_t combination = SettleGreyTie(FirstLeastCombination(errors[half]), channels[half], q);
        levels[half] = PackedHueLevels(channels[half], combination);
    }
}

#else

PackedColour QuantizeHueOfSumsAvx2(const int32_t* sums, const HueQuantizer& q) {
    return QuantizeHueOfSumsPortable(sums, q);
}

void QuantizeHalvesHueAvx2(const int32_t sums[kBlockHalves][3], const HueQuantizer& q,
                           PackedColour levels[kBlockHalves]) {
    QuantizeHalvesHuePortable(sums, q, levels);
}

#endif

namespace {

PackedColour QuantizeHueOfSums(const int32_t* sums, const HueQuantizer& q) {
    return kUseAvx2 ? QuantizeHueOfSumsAvx2(sums, q) : QuantizeHueOfSumsPortable(sums, q);
}

void QuantizeHalvesHue(const int32_t sums[kBlockHalves][3], const HueQuantizer& q, PackedColour levels[kBlockHalves]) {
    if (kUseAvx2) {
        QuantizeHalvesHueAvx2(sums, q, levels);
    } else {
        QuantizeHalvesHuePortable(sums, q, levels);
    }
}

}  // namespace

void QuantizeHalvesHue555(const int32_t sums[kBlockHalves][3], PackedColour levels[kBlockHalves]) {
    QuantizeHalvesHue(sums, kHue555, levels);
}

void QuantizeHalvesHue555Perceptual(const int32_t sums[kBlockHalves][3], PackedColour levels[kBlockHalves]) {
    QuantizeHalvesHue(sums, kHue555Perceptual, levels);
}

PackedColour QuantizeHue444OfSums(const int32_t* sums) { return QuantizeHueOfSums(sums, kHue444); }
PackedColour QuantizeHue444PerceptualOfSums(const int32_t* sums) { return QuantizeHueOfSums(sums, kHue444Perceptual); }

}  // namespace ETC1Encoder
