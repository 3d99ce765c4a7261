// The hue combinations with AVX2: the eight combinations in the eight lanes of
// one vector. Every lane does the same single-precision operations in the same
// order as the portable loop, so the results are identical.
#include "etc1/HueQuantizer.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>

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
