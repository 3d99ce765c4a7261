// The eight rows of a half with AVX2: one 32-bit lane per pixel.
//
// Everything is measured from the base colour b: a pixel p gives q = p - b and a
// candidate c gives its offset o = c - b, which is the row's modifier m in every
// channel unless the candidate was clamped. The error sum(w (q - o)^2) is P + S
// with P = sum(w q^2), independent of the candidate, and
// S = sum(w o^2) - 2 sum(w q o). For a row without clamping S is
// W m^2 - 2 m sum(w q) (W the sum of the weights), so the slots -b, -a, +a, +b
// need two products per pixel; clamped rows take S from two 16-bit
// multiply-adds per candidate (see MeasureFactors). All arithmetic is exact
// integer arithmetic, so equal S means equal error.
#include <immintrin.h>

#include <array>

#include "etc1/ETC1ModifierTable.h"
#include "etc1/HalfBlockLayout.h"
#include "etc1/ModifierRows.h"

#define BWVOQ_AVX2 __attribute__((target("avx2")))

namespace {

// An error measure sum(w_c d_c^2) written so that each weight is a sum of
// products of 16-bit factors: w_R = aR bR, w_B = aB bB, w_G = aG1 bG1 + aG2 bG2.
// Every factor times 255 (and twice a b factor times 183) fits in int16, which
// lets the kernel use 16-bit multiply-adds and stay exact.
struct MeasureFactors {
    int16_t aR, aB, aG1, aG2;
    int16_t bR, bB, bG1, bG2;
    constexpr int32_t Weight() const { return aR * bR + aB * bB + aG1 * bG1 + aG2 * bG2; }
};

constexpr MeasureFactors kPlainFactors = {1, 1, 1, 0, 1, 1, 1, 0};
// 299 = 13 x 23, 114 = 6 x 19, 587 = 23 x 25 + 3 x 4.
constexpr MeasureFactors kPerceptualFactors = {13, 6, 23, 3, 23, 19, 25, 4};

// pshufb controls that pick a half's bytes out of the three 16-byte thirds of
// the block: for each layout, the R, B pairs and the G, G pairs of its 8 pixels.
struct GatherControls {
    alignas(16) uint8_t redBlue[3][16];
    alignas(16) uint8_t greenGreen[3][16];
};

constexpr uint8_t ControlByte(int32_t offset, int32_t third) {
    return offset >= 16 * third && offset < 16 * third + 16 ? static_cast<uint8_t>(offset - 16 * third) : 0x80;
}

constexpr GatherControls MakeGatherControls(const HalfBlockLayout& layout) {
    GatherControls controls{};
    for (int32_t third = 0; third < 3; ++third) {
        for (int32_t i = 0; i < 8; ++i) {
            controls.redBlue[third][2 * i] = ControlByte(layout.offset[i], third);
            controls.redBlue[third][2 * i + 1] = ControlByte(layout.offset[i] + 2, third);
            controls.greenGreen[third][2 * i] = ControlByte(layout.offset[i] + 1, third);
            controls.greenGreen[third][2 * i + 1] = ControlByte(layout.offset[i] + 1, third);
        }
    }
    return controls;
}

// Tall at column 0 and 2, wide at row 0 and 2.
constexpr std::array<GatherControls, 4> kGatherControls = {
    MakeGatherControls(HalfBlockLayouts::kTall[0]), MakeGatherControls(HalfBlockLayouts::kTall[1]),
    MakeGatherControls(HalfBlockLayouts::kWide[0]), MakeGatherControls(HalfBlockLayouts::kWide[1])};

struct FlatModifiers {
    int32_t value[32];  // row-major: row q, slot k at 4q + k
};

constexpr FlatModifiers Flatten() {
    FlatModifiers flat{};
    for (int32_t i = 0; i < 32; ++i) flat.value[i] = kETC1Modifiers[i / 4][i % 4];
    return flat;
}

alignas(32) constexpr FlatModifiers kFlatModifiers = Flatten();

// S terms of the 32 (row, slot) candidates of clamped rows.
struct CandidateTerms {
    alignas(32) int32_t k[32];   // sum(w o^2)
    alignas(32) int32_t ca[32];  // int16 pair (-2 bR oR, -2 bB oB)
    alignas(32) int32_t cb[32];  // int16 pair (-2 bG1 oG, -2 bG2 oG)
};

// Every lane holds the int16 pair (low, high).
BWVOQ_AVX2 inline __m256i PairOf(int32_t low, int32_t high) {
    uint32_t pair = static_cast<uint16_t>(low) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16);
    return _mm256_set1_epi32(static_cast<int32_t>(pair));
}

// Lanes (low, high) from two vectors of values that fit in int16.
BWVOQ_AVX2 inline __m256i Pack(__m256i low, __m256i high) {
    return _mm256_or_si256(_mm256_and_si256(low, _mm256_set1_epi32(0xFFFF)), _mm256_slli_epi32(high, 16));
}

// sum(w v^2) for values packed as (R, B) and (G, G).
BWVOQ_AVX2 inline __m256i WeightedSquares(__m256i rb, __m256i gg, const MeasureFactors& f) {
    __m256i xa = _mm256_mullo_epi16(rb, PairOf(f.aR, f.aB));
    __m256i xb = _mm256_mullo_epi16(rb, PairOf(f.bR, f.bB));
    __m256i ya = _mm256_mullo_epi16(gg, PairOf(f.aG1, f.aG2));
    __m256i yb = _mm256_mullo_epi16(gg, PairOf(f.bG1, f.bG2));
    return _mm256_add_epi32(_mm256_madd_epi16(xa, xb), _mm256_madd_epi16(ya, yb));
}

// Terms of rows first..7 (first even): offsets clamp(m, -b, 255 - b) per channel.
BWVOQ_AVX2 void ComputeClampedTerms(const uint8_t* base, const MeasureFactors& f, int32_t first,
                                    CandidateTerms& terms) {
    const __m256i low[3] = {_mm256_set1_epi32(-base[0]), _mm256_set1_epi32(-base[1]), _mm256_set1_epi32(-base[2])};
    const __m256i high[3] = {_mm256_set1_epi32(255 - base[0]), _mm256_set1_epi32(255 - base[1]),
                             _mm256_set1_epi32(255 - base[2])};
    const __m256i factorsA = PairOf(-2 * f.bR, -2 * f.bB);
    const __m256i factorsB = PairOf(-2 * f.bG1, -2 * f.bG2);
    for (int32_t i = 4 * first; i < 32; i += 8) {
        __m256i modifiers = _mm256_load_si256(reinterpret_cast<const __m256i*>(kFlatModifiers.value + i));
        __m256i o[3];
        for (int32_t c = 0; c < 3; ++c) o[c] = _mm256_min_epi32(_mm256_max_epi32(modifiers, low[c]), high[c]);
        __m256i rb = Pack(o[0], o[2]);
        __m256i gg = Pack(o[1], o[1]);
        _mm256_store_si256(reinterpret_cast<__m256i*>(terms.k + i), WeightedSquares(rb, gg, f));
        _mm256_store_si256(reinterpret_cast<__m256i*>(terms.ca + i), _mm256_mullo_epi16(rb, factorsA));
        _mm256_store_si256(reinterpret_cast<__m256i*>(terms.cb + i), _mm256_mullo_epi16(gg, factorsB));
    }
}

// The 16 bytes chosen by `controls` from the block's three thirds, widened to int16.
BWVOQ_AVX2 inline __m256i GatherPairs(const __m128i thirds[3], const uint8_t (*controls)[16]) {
    __m128i bytes = _mm_shuffle_epi8(thirds[0], _mm_load_si128(reinterpret_cast<const __m128i*>(controls[0])));
    bytes =
        _mm_or_si128(bytes, _mm_shuffle_epi8(thirds[1], _mm_load_si128(reinterpret_cast<const __m128i*>(controls[1]))));
    bytes =
        _mm_or_si128(bytes, _mm_shuffle_epi8(thirds[2], _mm_load_si128(reinterpret_cast<const __m128i*>(controls[2]))));
    return _mm256_cvtepu8_epi16(bytes);
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

// Picks each pixel's slot from the four S values of a row (the lowest slot of
// equal values), records the row's planes and returns the per-pixel minimum.
BWVOQ_AVX2 inline __m256i ChooseSlots(__m256i s0, __m256i s1, __m256i s2, __m256i s3, uint32_t& msb, uint32_t& lsb) {
    // A pair's later slot wins only when strictly better, so ties keep the lower slot.
    __m256i takes1 = _mm256_cmpgt_epi32(s0, s1);
    __m256i takes3 = _mm256_cmpgt_epi32(s2, s3);
    __m256i best01 = _mm256_min_epi32(s0, s1);
    __m256i best23 = _mm256_min_epi32(s2, s3);
    __m256i takesUpper = _mm256_cmpgt_epi32(best01, best23);
    // Index 3, 2, 0, 1 for slots 0..3: the high bit marks slots 0 and 1, the low bit slots 0 and 3.
    __m256i lowBit = _mm256_blendv_epi8(_mm256_xor_si256(takes1, _mm256_set1_epi32(-1)), takes3, takesUpper);
    msb = ~LaneBits(takesUpper) & 0xFFu;
    lsb = LaneBits(lowBit);
    return _mm256_min_epi32(best01, best23);
}

// How far every channel of the base can move either way without clamping.
int32_t RoomOf(const uint8_t* base) {
    int32_t lowest = base[0] < base[1] ? base[0] : base[1];
    lowest = lowest < base[2] ? lowest : base[2];
    int32_t highest = base[0] > base[1] ? base[0] : base[1];
    highest = highest > base[2] ? highest : base[2];
    return lowest < 255 - highest ? lowest : 255 - highest;
}

// The number of leading rows whose four candidates clamp in no channel.
int32_t UnclampedRows(int32_t room) {
    int32_t rows = 0;
    while (rows < 8 && kETC1Modifiers[rows][3] <= room) ++rows;
    return rows;
}

// S of the slots -m and +m of a modifier that clamps in no channel.
struct SymmetricScores {
    __m256i minus;
    __m256i plus;
};

template <int32_t weight, int32_t modifier>
BWVOQ_AVX2 inline SymmetricScores UnclampedScores(__m256i weightedSum) {
    __m256i t = _mm256_mullo_epi32(weightedSum, _mm256_set1_epi32(2 * modifier));
    __m256i k = _mm256_set1_epi32(weight * modifier * modifier);
    return {_mm256_add_epi32(k, t), _mm256_sub_epi32(k, t)};
}

// S of candidate i of the clamped terms.
BWVOQ_AVX2 inline __m256i ClampedScore(const CandidateTerms& terms, int32_t i, __m256i x, __m256i y) {
    __m256i cross = _mm256_add_epi32(_mm256_madd_epi16(x, _mm256_set1_epi32(terms.ca[i])),
                                     _mm256_madd_epi16(y, _mm256_set1_epi32(terms.cb[i])));
    return _mm256_add_epi32(_mm256_set1_epi32(terms.k[i]), cross);
}

// The pixels of a half as the rows need them.
struct HalfPixels {
    __m256i x;            // int16 pairs (aR qR, aB qB)
    __m256i y;            // int16 pairs (aG1 qG, aG2 qG)
    __m256i pixelTerm;    // P = sum(w q^2)
    __m256i weightedSum;  // sum(w q)
};

template <const MeasureFactors& f>
BWVOQ_AVX2 inline HalfPixels PrepareHalf(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base) {
    const GatherControls& controls = kGatherControls[(shape == HalfShape::Wide ? 2 : 0) + ((first >> 1) & 1)];
    const __m128i thirds[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 32))};
    const __m256i rb = _mm256_sub_epi16(GatherPairs(thirds, controls.redBlue), PairOf(base[0], base[2]));
    const __m256i gg = _mm256_sub_epi16(GatherPairs(thirds, controls.greenGreen), PairOf(base[1], base[1]));
    HalfPixels half;
    half.x = _mm256_mullo_epi16(rb, PairOf(f.aR, f.aB));
    half.y = _mm256_mullo_epi16(gg, PairOf(f.aG1, f.aG2));
    half.pixelTerm = WeightedSquares(rb, gg, f);
    half.weightedSum = _mm256_add_epi32(_mm256_madd_epi16(half.x, PairOf(f.bR, f.bB)),
                                        _mm256_madd_epi16(half.y, PairOf(f.bG1, f.bG2)));
    return half;
}

// Row q: each pair of slots -m, +m by the product form when m clamps in no
// channel, else from the clamped terms.
template <const MeasureFactors& f, int32_t q>
BWVOQ_AVX2 inline __m256i RowError(const HalfPixels& half, int32_t room, const CandidateTerms& terms,
                                   ModifierRows& rows) {
    constexpr int32_t inner = kETC1Modifiers[q][2];
    constexpr int32_t outer = kETC1Modifiers[q][3];
    SymmetricScores a = inner <= room ? UnclampedScores<f.Weight(), inner>(half.weightedSum)
                                      : SymmetricScores{ClampedScore(terms, 4 * q + 1, half.x, half.y),
                                                        ClampedScore(terms, 4 * q + 2, half.x, half.y)};
    SymmetricScores b = outer <= room ? UnclampedScores<f.Weight(), outer>(half.weightedSum)
                                      : SymmetricScores{ClampedScore(terms, 4 * q, half.x, half.y),
                                                        ClampedScore(terms, 4 * q + 3, half.x, half.y)};
    __m256i best = ChooseSlots(b.minus, a.minus, a.plus, b.plus, rows.msb[q], rows.lsb[q]);
    return _mm256_add_epi32(best, half.pixelTerm);
}

template <const MeasureFactors& f>
BWVOQ_AVX2 void ComputeRows(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                            ModifierRows& rows) {
    const HalfPixels half = PrepareHalf<f>(block, shape, first, base);
    const int32_t room = RoomOf(base);
    const int32_t unclamped = UnclampedRows(room);
    CandidateTerms terms;
    if (unclamped < 8) ComputeClampedTerms(base, f, unclamped & ~1, terms);
    const __m256i rowErrors[8] = {RowError<f, 0>(half, room, terms, rows), RowError<f, 1>(half, room, terms, rows),
                                  RowError<f, 2>(half, room, terms, rows), RowError<f, 3>(half, room, terms, rows),
                                  RowError<f, 4>(half, room, terms, rows), RowError<f, 5>(half, room, terms, rows),
                                  RowError<f, 6>(half, room, terms, rows), RowError<f, 7>(half, room, terms, rows)};
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(rows.error), SumLanesOfEach(rowErrors));
}

}  // namespace

void ComputeModifierRowsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                             RowMeasure measure, ModifierRows& rows) {
    if (measure == RowMeasure::Plain) {
        ComputeRows<kPlainFactors>(block, shape, first, base, rows);
    } else {
        ComputeRows<kPerceptualFactors>(block, shape, first, base, rows);
    }
}
