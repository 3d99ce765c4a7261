// The hue quantisers with AVX2: the three channels' levels in the lanes of one
// vector, then the eight combinations in the eight lanes of another. Every lane
// does the same single-precision operations in the same order as the portable
// loops, so the results are identical.
#include <immintrin.h>

#include "etc1/HueQuantizer.h"

#define BWVOQ_AVX2 __attribute__((target("avx2")))

namespace {

// Lane masks of the combinations taking R, G or B high (combinations 1, 4, 5, 7; 2, 4, 6, 7; 3, 5, 6, 7).
constexpr int kRedHigh = 0xB2;
constexpr int kGreenHigh = 0xD4;
constexpr int kBlueHigh = 0xE8;

BWVOQ_AVX2 inline __m256 WeightedSquare(float weight, __m256 difference) {
    return _mm256_mul_ps(_mm256_set1_ps(weight), _mm256_mul_ps(difference, difference));
}

BWVOQ_AVX2 inline __m128i Expand(__m128i levels, bool fiveBit) {
    if (fiveBit) return _mm_or_si128(_mm_slli_epi32(levels, 3), _mm_srli_epi32(levels, 2));
    return _mm_mullo_epi32(levels, _mm_set1_epi32(17));
}

// Lane `channel` of `v` in all eight lanes, blended with the same of `up` where `mask` says.
template <int channel, int mask>
BWVOQ_AVX2 inline __m256 Channel(__m128 v, __m128 up) {
    __m256 low = _mm256_broadcastss_ps(_mm_shuffle_ps(v, v, channel));
    __m256 high = _mm256_broadcastss_ps(_mm_shuffle_ps(up, up, channel));
    return _mm256_blend_ps(low, high, mask);
}

}  // namespace

BWVOQ_AVX2 QuantizedColor QuantizeHueAvx2(const float* average, const HueQuantizer& q) {
    const __m128 a = _mm_setr_ps(average[0], average[1], average[2], 0.0f);
    const __m128i low = _mm_cvttps_epi32(_mm_div_ps(a, _mm_set1_ps(q.step)));
    const __m128i high = _mm_min_epi32(_mm_add_epi32(low, _mm_set1_epi32(1)), _mm_set1_epi32(q.topLevel));
    const __m128i lowExpanded = Expand(low, q.fiveBit);
    const __m128 below = _mm_sub_ps(_mm_cvtepi32_ps(lowExpanded), a);
    const __m128 rise = _mm_cvtepi32_ps(_mm_sub_epi32(Expand(high, q.fiveBit), lowExpanded));
    const __m128 up = _mm_add_ps(below, rise);

    __m256 r = Channel<0, kRedHigh>(below, up);
    __m256 g = Channel<1, kGreenHigh>(below, up);
    __m256 b = Channel<2, kBlueHigh>(below, up);
    __m256 error = _mm256_add_ps(
        _mm256_add_ps(WeightedSquare(q.weightRG, _mm256_sub_ps(r, g)), WeightedSquare(q.weightRB, _mm256_sub_ps(r, b))),
        WeightedSquare(q.weightGB, _mm256_sub_ps(g, b)));
    __m256 lowest = _mm256_min_ps(error, _mm256_permute2f128_ps(error, error, 1));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0x4E));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0xB1));
    // The first combination reaching the least error.
    int32_t winner = __builtin_ctz(static_cast<unsigned>(_mm256_movemask_ps(_mm256_cmp_ps(error, lowest, _CMP_EQ_OQ))));

    alignas(16) float d[4];
    alignas(16) int32_t levels[2][4];
    _mm_store_ps(d, below);
    _mm_store_si128(reinterpret_cast<__m128i*>(levels[0]), low);
    _mm_store_si128(reinterpret_cast<__m128i*>(levels[1]), high);
    if (q.settlesGreyTies && (winner == 0 || winner == 7)) {
        float distance = (d[1] * d[1] + d[0] * d[0]) + d[2] * d[2];
        winner = distance > kGreyTieThreshold ? 7 : 0;
    }
    return {levels[kTakesHigh[winner][0]][0], levels[kTakesHigh[winner][1]][1], levels[kTakesHigh[winner][2]][2]};
}
