// The eight rows of a half with AVX2: one 32-bit lane per pixel.
//
// The error of pixel p against candidate c is sum(w (p - c)^2) = P + S, where
// P = sum(w p^2) does not depend on the candidate and S = sum(w c^2) - 2 sum(w p c).
// S comes from two 16-bit multiply-adds per candidate (see MeasureFactors), so
// all arithmetic is exact integer arithmetic and equal S means equal error.
#include <immintrin.h>

#include "etc1/ETC1ModifierTable.h"
#include "etc1/ModifierRows.h"

#define BWVOQ_AVX2 __attribute__((target("avx2")))

namespace {

struct FlatModifiers {
    int32_t value[32];  // row-major: row q, slot k at 4q + k
};

constexpr FlatModifiers Flatten() {
    FlatModifiers flat{};
    for (int32_t i = 0; i < 32; ++i) flat.value[i] = kETC1Modifiers[i / 4][i % 4];
    return flat;
}

alignas(32) constexpr FlatModifiers kFlatModifiers = Flatten();

// Candidate terms of the 32 (row, slot) pairs.
struct CandidateTerms {
    alignas(32) int32_t k[32];   // sum(w c^2)
    alignas(32) int32_t ca[32];  // int16 pair (-2 bR cR, -2 bB cB)
    alignas(32) int32_t cb[32];  // int16 pair (-2 bG1 cG, -2 bG2 cG)
};

// Every lane holds the int16 pair (low, high).
BWVOQ_AVX2 inline __m256i PairOf(int32_t low, int32_t high) {
    uint32_t pair = static_cast<uint16_t>(low) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16);
    return _mm256_set1_epi32(static_cast<int32_t>(pair));
}

// Lanes (low, high) from two vectors of values 0..255.
BWVOQ_AVX2 inline __m256i Pack(__m256i low, __m256i high) { return _mm256_or_si256(low, _mm256_slli_epi32(high, 16)); }

// sum(w v^2) for colours whose channels are packed as (R, B) and (G, G).
BWVOQ_AVX2 inline __m256i WeightedSquares(__m256i rb, __m256i gg, const MeasureFactors& f) {
    __m256i xa = _mm256_mullo_epi16(rb, PairOf(f.aR, f.aB));
    __m256i xb = _mm256_mullo_epi16(rb, PairOf(f.bR, f.bB));
    __m256i ya = _mm256_mullo_epi16(gg, PairOf(f.aG1, f.aG2));
    __m256i yb = _mm256_mullo_epi16(gg, PairOf(f.bG1, f.bG2));
    return _mm256_add_epi32(_mm256_madd_epi16(xa, xb), _mm256_madd_epi16(ya, yb));
}

BWVOQ_AVX2 inline __m256i ClampToByte(__m256i v) {
    return _mm256_min_epi32(_mm256_max_epi32(v, _mm256_setzero_si256()), _mm256_set1_epi32(255));
}

BWVOQ_AVX2 void ComputeCandidateTerms(const uint8_t* base, const MeasureFactors& f, CandidateTerms& terms) {
    const __m256i baseR = _mm256_set1_epi32(base[0]);
    const __m256i baseG = _mm256_set1_epi32(base[1]);
    const __m256i baseB = _mm256_set1_epi32(base[2]);
    const __m256i factorsA = PairOf(-2 * f.bR, -2 * f.bB);
    const __m256i factorsB = PairOf(-2 * f.bG1, -2 * f.bG2);
    for (int32_t i = 0; i < 32; i += 8) {
        __m256i modifiers = _mm256_load_si256(reinterpret_cast<const __m256i*>(kFlatModifiers.value + i));
        __m256i r = ClampToByte(_mm256_add_epi32(baseR, modifiers));
        __m256i g = ClampToByte(_mm256_add_epi32(baseG, modifiers));
        __m256i b = ClampToByte(_mm256_add_epi32(baseB, modifiers));
        __m256i rb = Pack(r, b);
        __m256i gg = Pack(g, g);
        _mm256_store_si256(reinterpret_cast<__m256i*>(terms.k + i), WeightedSquares(rb, gg, f));
        _mm256_store_si256(reinterpret_cast<__m256i*>(terms.ca + i), _mm256_mullo_epi16(rb, factorsA));
        _mm256_store_si256(reinterpret_cast<__m256i*>(terms.cb + i), _mm256_mullo_epi16(gg, factorsB));
    }
}

BWVOQ_AVX2 inline __m256i GatherChannel(const uint8_t* channel, const uint8_t* offset) {
    return _mm256_setr_epi32(channel[offset[0]], channel[offset[1]], channel[offset[2]], channel[offset[3]],
                             channel[offset[4]], channel[offset[5]], channel[offset[6]], channel[offset[7]]);
}

// S of every pixel against candidate i.
BWVOQ_AVX2 inline __m256i CandidateScore(const CandidateTerms& terms, int32_t i, __m256i x, __m256i y) {
    __m256i cross = _mm256_add_epi32(_mm256_madd_epi16(x, _mm256_set1_epi32(terms.ca[i])),
                                     _mm256_madd_epi16(y, _mm256_set1_epi32(terms.cb[i])));
    return _mm256_add_epi32(_mm256_set1_epi32(terms.k[i]), cross);
}

// The sums of the lanes of r[0..7], as lanes 0..7.
BWVOQ_AVX2 inline __m256i SumLanesOfEach(const __m256i r[8]) {
    __m256i h01 = _mm256_hadd_epi32(r[0], r[1]);
    __m256i h23 = _mm256_hadd_epi32(r[2], r[3]);
    __m256i h45 = _mm256_hadd_epi32(r[4], r[5]);
    __m256i h67 = _mm256_hadd_epi32(r[6], r[7]);
    __m256i h0123 = _mm256_hadd_epi32(h01, h23);
    __m256i h4567 = _mm256_hadd_epi32(h45, h67);
    __m256i low = _mm256_permute2x128_si256(h0123, h4567, 0x20);
    __m256i high = _mm256_permute2x128_si256(h0123, h4567, 0x31);
    return _mm256_add_epi32(low, high);
}

BWVOQ_AVX2 inline uint32_t LaneBits(__m256i mask) {
    return static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(mask)));
}

}  // namespace

BWVOQ_AVX2 void ComputeModifierRowsAvx2(const uint8_t* block, const HalfBlockLayout& layout, const uint8_t* base,
                                        const MeasureFactors& factors, ModifierRows& rows) {
    CandidateTerms terms;
    ComputeCandidateTerms(base, factors, terms);

    __m256i r = GatherChannel(block, layout.offset);
    __m256i g = GatherChannel(block + 1, layout.offset);
    __m256i b = GatherChannel(block + 2, layout.offset);
    __m256i rb = Pack(r, b);
    __m256i gg = Pack(g, g);
    const __m256i x = _mm256_mullo_epi16(rb, PairOf(factors.aR, factors.aB));
    const __m256i y = _mm256_mullo_epi16(gg, PairOf(factors.aG1, factors.aG2));
    const __m256i pixelTerm = WeightedSquares(rb, gg, factors);

    const __m256i allOnes = _mm256_set1_epi32(-1);
    __m256i rowErrors[8];
    for (int32_t q = 0; q < 8; ++q) {
        __m256i s0 = CandidateScore(terms, 4 * q + 0, x, y);
        __m256i s1 = CandidateScore(terms, 4 * q + 1, x, y);
        __m256i s2 = CandidateScore(terms, 4 * q + 2, x, y);
        __m256i s3 = CandidateScore(terms, 4 * q + 3, x, y);
        // A pair's later slot wins only when strictly better, so ties keep the lower slot.
        __m256i takes1 = _mm256_cmpgt_epi32(s0, s1);
        __m256i takes3 = _mm256_cmpgt_epi32(s2, s3);
        __m256i best01 = _mm256_min_epi32(s0, s1);
        __m256i best23 = _mm256_min_epi32(s2, s3);
        __m256i takesUpper = _mm256_cmpgt_epi32(best01, best23);
        // Index 3, 2, 0, 1 for slots 0..3: the high bit marks slots 0 and 1, the
        // low bit slots 0 and 3.
        __m256i lowBit = _mm256_blendv_epi8(_mm256_xor_si256(takes1, allOnes), takes3, takesUpper);
        rows.msb[q] = ~LaneBits(takesUpper) & 0xFFu;
        rows.lsb[q] = LaneBits(lowBit);
        rowErrors[q] = _mm256_add_epi32(_mm256_min_epi32(best01, best23), pixelTerm);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(rows.error), SumLanesOfEach(rowErrors));
}
