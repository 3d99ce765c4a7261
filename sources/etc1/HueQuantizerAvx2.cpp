// The eight combinations of a hue quantiser in the eight lanes of one vector:
// every lane does the same single-precision operations in the same order as
// the one-at-a-time loop, so the errors are identical.
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

}  // namespace

BWVOQ_AVX2 int32_t ChooseHueCombinationAvx2(const HueLevels& levels, const HueQuantizer& q) {
    const float* d = levels.below;
    const float* k = levels.rise;
    __m256 r = _mm256_blend_ps(_mm256_set1_ps(d[0]), _mm256_set1_ps(d[0] + k[0]), kRedHigh);
    __m256 g = _mm256_blend_ps(_mm256_set1_ps(d[1]), _mm256_set1_ps(d[1] + k[1]), kGreenHigh);
    __m256 b = _mm256_blend_ps(_mm256_set1_ps(d[2]), _mm256_set1_ps(d[2] + k[2]), kBlueHigh);
    __m256 error = _mm256_add_ps(
        _mm256_add_ps(WeightedSquare(q.weightRG, _mm256_sub_ps(r, g)), WeightedSquare(q.weightRB, _mm256_sub_ps(r, b))),
        WeightedSquare(q.weightGB, _mm256_sub_ps(g, b)));
    __m256 lowest = _mm256_min_ps(error, _mm256_permute2f128_ps(error, error, 1));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0x4E));
    lowest = _mm256_min_ps(lowest, _mm256_shuffle_ps(lowest, lowest, 0xB1));
    // The first combination reaching the least error.
    int mask = _mm256_movemask_ps(_mm256_cmp_ps(error, lowest, _CMP_EQ_OQ));
    return __builtin_ctz(static_cast<unsigned>(mask));
}
