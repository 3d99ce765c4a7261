#include "etc1/ETC1ModifierRows.h"

#include <array>

#include "image/ETC1BlockFormat.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ETC1Encoder {
namespace {

const bool kUseAvx2 = Platform::ProcessorHasAvx2();

// The four candidate colours of one modifier-table row and the per-pixel error measures.
struct RowCandidates {
    int32_t colour[4][3];  // by slot: R, G, B
};

int32_t ClampToByte(int32_t value) { return value < 0 ? 0 : (value > 255 ? 255 : value); }

RowCandidates CandidatesOfRow(const int32_t base[3], int32_t row) {
    RowCandidates candidates;
    for (int32_t slot = 0; slot < 4; ++slot) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            candidates.colour[slot][channel] = ClampToByte(base[channel] + ImageLib::ETC1ModifierTable[row][slot]);
        }
    }
    return candidates;
}

uint32_t PlainPixelError(const int32_t pixel[3], const int32_t colour[3]) {
    int32_t dr = pixel[0] - colour[0];
    int32_t dg = pixel[1] - colour[1];
    int32_t db = pixel[2] - colour[2];
    return static_cast<uint32_t>(dr * dr + dg * dg + db * db);
}

uint32_t PerceptualPixelError(const int32_t pixel[3], const int32_t colour[3]) {
    int32_t dr = pixel[0] - colour[0];
    int32_t dg = pixel[1] - colour[1];
    int32_t db = pixel[2] - colour[2];
    return 299u * static_cast<uint32_t>(dr * dr) + 587u * static_cast<uint32_t>(dg * dg) +
           114u * static_cast<uint32_t>(db * db);
}

// The slot whose candidate is nearest to `pixel` under `error`; the lowest slot
// among equal errors. Its error goes to `best`.
template <typename ErrorFunc>
int32_t NearestSlot(const int32_t pixel[3], const RowCandidates& candidates, ErrorFunc error, uint32_t& best) {
    int32_t slot = 0;
    best = error(pixel, candidates.colour[0]);
    for (int32_t k = 1; k < 4; ++k) {
        uint32_t e = error(pixel, candidates.colour[k]);
        if (e < best) {
            best = e;
            slot = k;
        }
    }
    return slot;
}

// Sets the pixel's index bits for `slot` at `bit` of the two planes.
void SetIndexBits(int32_t slot, int32_t bit, uint32_t& msb, uint32_t& lsb) {
    uint32_t index = ImageLib::ETC1Format::kSlotToPixelIndex[slot];
    msb |= (index >> 1) << bit;
    lsb |= (index & 1u) << bit;
}

// Row q of the half, pixel by pixel: its error, and its planes with bit i for the i-th visited pixel.
uint32_t PortableRow(const uint8_t* block, const HalfPixelOrder& order, const uint8_t* base, ErrorMeasure measure,
                     int32_t q, uint32_t& msb, uint32_t& lsb) {
    const int32_t wideBase[3] = {base[0], base[1], base[2]};
    const RowCandidates candidates = CandidatesOfRow(wideBase, q);
    uint32_t sum = 0;
    msb = 0;
    lsb = 0;
    for (int32_t i = 0; i < 8; ++i) {
        const uint8_t* bytes = block + order.offset[i];
        const int32_t pixel[3] = {bytes[0], bytes[1], bytes[2]};
        uint32_t error = 0;
        int32_t slot = measure == ErrorMeasure::Plain ? NearestSlot(pixel, candidates, PlainPixelError, error)
                                                      : NearestSlot(pixel, candidates, PerceptualPixelError, error);
        sum += error;
        SetIndexBits(slot, i, msb, lsb);
    }
    return sum;
}

}  // namespace

void ComputeModifierRows(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                         ErrorMeasure measure, ModifierRows& rows) {
    if (kUseAvx2) {
        ComputeModifierRowsAvx2(block, shape, first, base, measure, rows);
    } else {
        ComputeModifierRowsPortable(block, shape, first, base, measure, rows);
    }
}

void ComputeModifierRowsPortable(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                                 ErrorMeasure measure, ModifierRows& rows) {
    const HalfPixelOrder& order = HalfOrder(shape, first);
    rows.msb = 0;
    rows.lsb = 0;
    rows.least = 0;
    for (int32_t q = 0; q < 8; ++q) {
        uint32_t msb = 0;
        uint32_t lsb = 0;
        const uint32_t sum = PortableRow(block, order, base, measure, q, msb, lsb);
        rows.error[q] = sum;
        rows.msb |= static_cast<uint64_t>(msb) << (8 * q);
        rows.lsb |= static_cast<uint64_t>(lsb) << (8 * q);
        if (sum < rows.error[rows.least]) rows.least = q;
    }
}

void ComputeRowErrors(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                      int32_t count, ErrorMeasure measure, RowErrors* errors) {
    if (kUseAvx2) {
        ComputeRowErrorsAvx2(block, shape, first, bases, count, measure, errors);
    } else {
        ComputeRowErrorsPortable(block, shape, first, bases, count, measure, errors);
    }
}

void ComputeRowErrorsPortable(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                              int32_t count, ErrorMeasure measure, RowErrors* errors) {
    for (int32_t n = 0; n < count; ++n) {
        ModifierRows rows;
        ComputeModifierRowsPortable(block, shape, first, bases[n], measure, rows);
        for (int32_t q = 0; q < kTableRows; ++q) errors[n].error[q] = rows.error[q];
        errors[n].least = rows.least;
    }
}

void ComputeRowPlanes(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                      ErrorMeasure measure, int32_t row, uint32_t& msb, uint32_t& lsb) {
    if (kUseAvx2) {
        ComputeRowPlanesAvx2(block, shape, first, base, measure, row, msb, lsb);
    } else {
        ComputeRowPlanesPortable(block, shape, first, base, measure, row, msb, lsb);
    }
}

void ComputeRowPlanesPortable(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                              ErrorMeasure measure, int32_t row, uint32_t& msb, uint32_t& lsb) {
    PortableRow(block, HalfOrder(shape, first), base, measure, row, msb, lsb);
}

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

#if BWVOQ_X86_KERNELS

using ImageLib::ETC1ModifierTable;

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
// the block: for each pixel order, the R, B pairs and the G, G pairs of its 8 pixels.
struct GatherControls {
    alignas(16) uint8_t redBlue[3][16];
    alignas(16) uint8_t greenGreen[3][16];
};

constexpr uint8_t ControlByte(int32_t offset, int32_t third) {
    return offset >= 16 * third && offset < 16 * third + 16 ? static_cast<uint8_t>(offset - 16 * third) : 0x80;
}

constexpr GatherControls MakeGatherControls(const HalfPixelOrder& order) {
    GatherControls controls{};
    for (int32_t third = 0; third < 3; ++third) {
        for (int32_t i = 0; i < 8; ++i) {
            controls.redBlue[third][2 * i] = ControlByte(order.offset[i], third);
            controls.redBlue[third][2 * i + 1] = ControlByte(order.offset[i] + 2, third);
            controls.greenGreen[third][2 * i] = ControlByte(order.offset[i] + 1, third);
            controls.greenGreen[third][2 * i + 1] = ControlByte(order.offset[i] + 1, third);
        }
    }
    return controls;
}

// Tall at column 0 and 2, wide at row 0 and 2.
constexpr std::array<GatherControls, 4> kGatherControls = {
    MakeGatherControls(kHalfOrders[0]), MakeGatherControls(kHalfOrders[1]), MakeGatherControls(kHalfOrders[2]),
    MakeGatherControls(kHalfOrders[3])};

struct FlatModifiers {
    int32_t value[32];  // row-major: row q, slot k at 4q + k
};

constexpr FlatModifiers Flatten() {
    FlatModifiers flat{};
    for (int32_t i = 0; i < 32; ++i) flat.value[i] = ETC1ModifierTable[i / 4][i % 4];
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

// Each int16 lane pair of `v` times (low, high); no multiply for the unit factors.
template <int32_t low, int32_t high>
BWVOQ_AVX2 inline __m256i TimesPair(__m256i v) {
    if constexpr (low == 1 && high == 1) return v;
    if constexpr (low == 1 && high == 0) return _mm256_and_si256(v, _mm256_set1_epi32(0xFFFF));
    return _mm256_mullo_epi16(v, PairOf(low, high));
}

// sum(w v^2) for values packed as (R, B) and (G, G).
template <const MeasureFactors& f>
BWVOQ_AVX2 inline __m256i WeightedSquares(__m256i rb, __m256i gg) {
    __m256i xa = TimesPair<f.aR, f.aB>(rb);
    __m256i xb = TimesPair<f.bR, f.bB>(rb);
    __m256i ya = TimesPair<f.aG1, f.aG2>(gg);
    __m256i yb = TimesPair<f.bG1, f.bG2>(gg);
    return _mm256_add_epi32(_mm256_madd_epi16(xa, xb), _mm256_madd_epi16(ya, yb));
}

// Terms of rows first..end - 1 (first even, end even): offsets clamp(m, -b, 255 - b) per channel.
template <const MeasureFactors& f>
BWVOQ_AVX2 void ComputeClampedTerms(const uint8_t* base, int32_t first, int32_t end, CandidateTerms& terms) {
    const __m256i low[3] = {_mm256_set1_epi32(-base[0]), _mm256_set1_epi32(-base[1]), _mm256_set1_epi32(-base[2])};
    const __m256i high[3] = {_mm256_set1_epi32(255 - base[0]), _mm256_set1_epi32(255 - base[1]),
                             _mm256_set1_epi32(255 - base[2])};
    const __m256i factorsA = PairOf(-2 * f.bR, -2 * f.bB);
    const __m256i factorsB = PairOf(-2 * f.bG1, -2 * f.bG2);
    for (int32_t i = 4 * first; i < 4 * end; i += 8) {
        __m256i modifiers = _mm256_load_si256(reinterpret_cast<const __m256i*>(kFlatModifiers.value + i));
        __m256i o[3];
        for (int32_t c = 0; c < 3; ++c) o[c] = _mm256_min_epi32(_mm256_max_epi32(modifiers, low[c]), high[c]);
        __m256i rb = Pack(o[0], o[2]);
        __m256i gg = Pack(o[1], o[1]);
        _mm256_store_si256(reinterpret_cast<__m256i*>(terms.k + i), WeightedSquares<f>(rb, gg));
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

// Each pixel's slot among the four S values of a row (the lowest slot of equal
// values): its per-pixel minimum, and lane masks of the index bits.
struct RowSlots {
    __m256i best;
    __m256i msb;  // slots 0 and 1 (indices 3 and 2)
    __m256i lsb;  // slots 0 and 3 (indices 3 and 1)
};

BWVOQ_AVX2 inline RowSlots ChooseSlots(__m256i s0, __m256i s1, __m256i s2, __m256i s3) {
    // A pair's later slot wins only when strictly better, so ties keep the lower slot.
    const __m256i takes1 = _mm256_cmpgt_epi32(s0, s1);
    const __m256i takes3 = _mm256_cmpgt_epi32(s2, s3);
    const __m256i best01 = _mm256_min_epi32(s0, s1);
    const __m256i best23 = _mm256_min_epi32(s2, s3);
    const __m256i takesUpper = _mm256_cmpgt_epi32(best01, best23);
    const __m256i ones = _mm256_set1_epi32(-1);
    return {_mm256_min_epi32(best01, best23), _mm256_xor_si256(takesUpper, ones),
            _mm256_blendv_epi8(_mm256_xor_si256(takes1, ones), takes3, takesUpper)};
}

// How far every channel of the base can move either way without clamping.
int32_t RoomOf(const uint8_t* base) {
    int32_t lowest = base[0] < base[1] ? base[0] : base[1];
    lowest = lowest < base[2] ? lowest : base[2];
    int32_t highest = base[0] > base[1] ? base[0] : base[1];
    highest = highest > base[2] ? highest : base[2];
    return lowest < 255 - highest ? lowest : 255 - highest;
}

// The number of leading rows whose four candidates clamp in no channel, by room (0..127).
constexpr std::array<uint8_t, 128> MakeUnclampedRows() {
    std::array<uint8_t, 128> rows{};
    for (int32_t room = 0; room < 128; ++room) {
        while (rows[room] < 8 && ETC1ModifierTable[rows[room]][3] <= room) ++rows[room];
    }
    return rows;
}

constexpr std::array<uint8_t, 128> kUnclampedRows = MakeUnclampedRows();

// S of candidate i of the clamped terms.
BWVOQ_AVX2 inline __m256i ClampedScore(const CandidateTerms& terms, int32_t i, __m256i x, __m256i y) {
    __m256i cross = _mm256_add_epi32(_mm256_madd_epi16(x, _mm256_set1_epi32(terms.ca[i])),
                                     _mm256_madd_epi16(y, _mm256_set1_epi32(terms.cb[i])));
    return _mm256_add_epi32(_mm256_set1_epi32(terms.k[i]), cross);
}

// The pixels of a half as the rows need them.
struct PreparedHalf {
    __m256i x;            // int16 pairs (aR qR, aB qB)
    __m256i y;            // int16 pairs (aG1 qG, aG2 qG)
    __m256i pixelTerm;    // P = sum(w q^2)
    __m256i weightedSum;  // s = sum(w q)
    __m256i magnitude;    // |s|
    __m256i negative;     // s <= 0
};

// The pixels of a half as they stand: int16 pairs (R, B) and (G, G).
struct HalfPairs {
    __m256i redBlue;
    __m256i greenGreen;
};

BWVOQ_AVX2 inline HalfPairs GatherHalfPairs(const uint8_t* block, HalfShape shape, int32_t first) {
    const GatherControls& controls = kGatherControls[(shape == HalfShape::Wide ? 2 : 0) + ((first >> 1) & 1)];
    const __m128i thirds[3] = {_mm_loadu_si128(reinterpret_cast<const __m128i*>(block)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16)),
                               _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 32))};
    return {GatherPairs(thirds, controls.redBlue), GatherPairs(thirds, controls.greenGreen)};
}

template <const MeasureFactors& f>
BWVOQ_AVX2 inline PreparedHalf PrepareHalf(const HalfPairs& pixels, const uint8_t* base) {
    const __m256i rb = _mm256_sub_epi16(pixels.redBlue, PairOf(base[0], base[2]));
    const __m256i gg = _mm256_sub_epi16(pixels.greenGreen, PairOf(base[1], base[1]));
    PreparedHalf half;
    half.x = TimesPair<f.aR, f.aB>(rb);
    half.y = TimesPair<f.aG1, f.aG2>(gg);
    half.pixelTerm = WeightedSquares<f>(rb, gg);
    half.weightedSum = _mm256_add_epi32(_mm256_madd_epi16(half.x, PairOf(f.bR, f.bB)),
                                        _mm256_madd_epi16(half.y, PairOf(f.bG1, f.bG2)));
    half.magnitude = _mm256_abs_epi32(half.weightedSum);
    half.negative = _mm256_cmpgt_epi32(_mm256_set1_epi32(1), half.weightedSum);
    return half;
}

// A row that clamps nowhere: S(-m) = W m^2 + 2 m s and S(+m) = W m^2 - 2 m s, so
// the better of the two is W m^2 - 2 m |s|, on the side of s (the minus side
// when s = 0, the lower slot). Of -b and -a the lower slot -b wins a tie, of
// +a and +b the lower slot +a: the index's high bit is the side, its low bit the choice of b.
// W m^2 and 2 m of every row's a and b, in all lanes. Filled when the program
// starts, so that the rows load them whole instead of building each from an
// immediate.
struct UnclampedConstants {
    alignas(32) int32_t squareA[8];
    alignas(32) int32_t squareB[8];
    alignas(32) int32_t twiceA[8];
    alignas(32) int32_t twiceB[8];
};

using UnclampedTable = std::array<UnclampedConstants, 8>;

template <const MeasureFactors& f>
UnclampedTable MakeUnclampedConstants() {
    UnclampedTable rows{};
    for (int32_t q = 0; q < 8; ++q) {
        const int32_t a = ETC1ModifierTable[q][2];
        const int32_t b = ETC1ModifierTable[q][3];
        for (int32_t lane = 0; lane < 8; ++lane) {
            rows[q].squareA[lane] = f.Weight() * a * a;
            rows[q].squareB[lane] = f.Weight() * b * b;
            rows[q].twiceA[lane] = 2 * a;
            rows[q].twiceB[lane] = 2 * b;
        }
    }
    return rows;
}

template <const MeasureFactors& f>
const UnclampedTable kUnclampedConstants = MakeUnclampedConstants<f>();

BWVOQ_AVX2 inline __m256i LoadLanes(const int32_t* lanes) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(lanes));
}

template <const MeasureFactors& f, int32_t q>
BWVOQ_AVX2 inline RowSlots UnclampedRow(const PreparedHalf& half) {
    const UnclampedConstants& row = kUnclampedConstants<f>[q];
    const __m256i sa =
        _mm256_sub_epi32(LoadLanes(row.squareA), _mm256_mullo_epi32(half.magnitude, LoadLanes(row.twiceA)));
    const __m256i sb =
        _mm256_sub_epi32(LoadLanes(row.squareB), _mm256_mullo_epi32(half.magnitude, LoadLanes(row.twiceB)));
    // On the minus side (negative all ones) b wins already on equal S.
    const __m256i takesB = _mm256_cmpgt_epi32(sa, _mm256_add_epi32(sb, half.negative));
    return {_mm256_min_epi32(sa, sb), half.negative, takesB};
}

// A row that clamps somewhere: every slot from the clamped terms.
template <int32_t q>
BWVOQ_AVX2 inline RowSlots ClampedRow(const PreparedHalf& half, const CandidateTerms& terms) {
    return ChooseSlots(ClampedScore(terms, 4 * q, half.x, half.y), ClampedScore(terms, 4 * q + 1, half.x, half.y),
                       ClampedScore(terms, 4 * q + 2, half.x, half.y), ClampedScore(terms, 4 * q + 3, half.x, half.y));
}

template <const MeasureFactors& f, int32_t q>
BWVOQ_AVX2 inline RowSlots Row(const PreparedHalf& half, int32_t unclamped, const CandidateTerms& terms) {
    return q < unclamped ? UnclampedRow<f, q>(half) : ClampedRow<q>(half, terms);
}

// The lanes of eight row masks as bytes of one value: byte q holds row q, bit i lane i.
BWVOQ_AVX2 inline uint64_t RowBits(const RowSlots slots[8], __m256i RowSlots::*mask) {
    const __m256i order = _mm256_setr_epi32(0, 4, 1, 5, 2, 6, 3, 7);
    auto fourRows = [&](int32_t q) BWVOQ_AVX2 {
        const __m256i words = _mm256_packs_epi16(_mm256_packs_epi32(slots[q].*mask, slots[q + 1].*mask),
                                                 _mm256_packs_epi32(slots[q + 2].*mask, slots[q + 3].*mask));
        return static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_permutevar8x32_epi32(words, order)));
    };
    return fourRows(0) | (static_cast<uint64_t>(fourRows(4)) << 32);
}

// The lanes of `v` added up, in every lane.
BWVOQ_AVX2 inline __m256i SumOfLanes(__m256i v) {
    v = _mm256_add_epi32(v, _mm256_permute2x128_si256(v, v, 1));
    v = _mm256_add_epi32(v, _mm256_shuffle_epi32(v, 0x4E));
    return _mm256_add_epi32(v, _mm256_shuffle_epi32(v, 0xB1));
}

// The first lane holding the least of the (unsigned) lanes.
BWVOQ_AVX2 inline int32_t FirstLeastLane(__m256i v) {
    __m256i least = _mm256_min_epu32(v, _mm256_permute2x128_si256(v, v, 1));
    least = _mm256_min_epu32(least, _mm256_shuffle_epi32(least, 0x4E));
    least = _mm256_min_epu32(least, _mm256_shuffle_epi32(least, 0xB1));
    return __builtin_ctz(static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(v, least)))));
}

// What the rows of a half need of its base colour: how many leading rows clamp
// nowhere, and the clamped terms of the rows from the even row before the first
// clamped one.
template <const MeasureFactors& f>
BWVOQ_AVX2 inline int32_t ComputeBaseTerms(const uint8_t* base, CandidateTerms& terms) {
    const int32_t unclamped = kUnclampedRows[static_cast<uint32_t>(RoomOf(base))];
    if (unclamped < 8) ComputeClampedTerms<f>(base, unclamped & ~1, 8, terms);
    return unclamped;
}

// The Fast searches' terms of one base colour, all 32 candidates.
//
// Where the measure gives the G pair's high half no weight (aG2 = bG2 = 0, the
// plain measure), the pixels' G pairs become (qG, 1) and the candidates' (cG, k
// - m), m the middle of the row's four k: one multiply-add then gives the cross
// term and k less m, which leaves the row's choice of slot as it was. Each row
// of pixels then owes 8 m, added to the row's error. Every k of rows 0 to 6
// lies within 16 bits of its row's middle (3 x 106^2 < 2 x 32767); row 7's do
// not, so row 7 keeps its k apart.
struct BaseTerms {
    uint32_t key;  // the packed base colour plus one; 0 for an empty entry
    int32_t unclamped;
    CandidateTerms terms;
    alignas(32) int32_t rowOffsets[8];  // 8 m of every folded row that is evaluated from its terms, else 0
};

template <const MeasureFactors& f>
constexpr bool kFoldsSquares = f.aG2 == 0 && f.bG2 == 0;

constexpr int32_t kFoldedRows = 7;
static_assert(3 * 106 * 106 < 2 * 32767 && ETC1ModifierTable[kFoldedRows - 1][3] == 106);

// Two rows at a time: each group of four lanes is one row's four slots.
BWVOQ_AVX2 void FoldSquares(int32_t unclamped, CandidateTerms& terms, int32_t rowOffsets[8]) {
    alignas(32) int32_t middles[4][8];
    for (int32_t pair = 0; pair < 4; ++pair) {
        auto* k = reinterpret_cast<const __m256i*>(terms.k + 8 * pair);
        auto* cb = reinterpret_cast<__m256i*>(terms.cb + 8 * pair);
        const __m256i squares = _mm256_load_si256(k);
        __m256i lowest = _mm256_min_epi32(squares, _mm256_shuffle_epi32(squares, 0x4E));
        lowest = _mm256_min_epi32(lowest, _mm256_shuffle_epi32(lowest, 0xB1));
        __m256i highest = _mm256_max_epi32(squares, _mm256_shuffle_epi32(squares, 0x4E));
        highest = _mm256_max_epi32(highest, _mm256_shuffle_epi32(highest, 0xB1));
        const __m256i middle = _mm256_srai_epi32(_mm256_add_epi32(lowest, highest), 1);
        _mm256_store_si256(reinterpret_cast<__m256i*>(middles[pair]), middle);
        const __m256i folded = _mm256_blend_epi16(_mm256_load_si256(cb),
                                                  _mm256_slli_epi32(_mm256_sub_epi32(squares, middle), 16), 0xAA);
        // Row 7, the upper half of the last pair, keeps its k apart.
        _mm256_store_si256(cb, pair < 3 ? folded : _mm256_blend_epi32(folded, _mm256_load_si256(cb), 0xF0));
    }
    for (int32_t q = 0; q < 8; ++q) {
        rowOffsets[q] = q >= unclamped && q < kFoldedRows ? 8 * middles[q / 2][4 * (q % 2)] : 0;
    }
}

// The base terms of recently met base colours, by a hash of the colour. The
// halves of neighbouring blocks mostly come back to the same few base colours,
// so most bases are found here. One set per thread and measure; zero-filled
// before first use, so every entry starts empty.
template <const MeasureFactors& f>
struct RecentBaseTerms {
    static constexpr int32_t kEntries = 32;
    static thread_local BaseTerms entries[kEntries];
};

template <const MeasureFactors& f>
thread_local BaseTerms RecentBaseTerms<f>::entries[kEntries];

template <const MeasureFactors& f>
BWVOQ_AVX2 inline const BaseTerms& TermsOfBase(const uint8_t* base) {
    const uint32_t key = ((uint32_t{base[0]} << 16) | (uint32_t{base[1]} << 8) | base[2]) + 1u;
    BaseTerms& entry = RecentBaseTerms<f>::entries[(key * 2654435761u) >> 27];
    if (entry.key != key) {
        entry.key = key;
        entry.unclamped = kUnclampedRows[static_cast<uint32_t>(RoomOf(base))];
        ComputeClampedTerms<f>(base, 0, 8, entry.terms);
        if constexpr (kFoldsSquares<f>) {
            FoldSquares(entry.unclamped, entry.terms, entry.rowOffsets);
        } else {
            for (int32_t& offset : entry.rowOffsets) offset = 0;
        }
    }
    return entry;
}

// The half as the Fast searches' terms need it: G pairs (qG, 1) where k is folded.
template <const MeasureFactors& f>
BWVOQ_AVX2 inline PreparedHalf PrepareFastHalf(const HalfPairs& pixels, const uint8_t* base) {
    PreparedHalf half = PrepareHalf<f>(pixels, base);
    if constexpr (kFoldsSquares<f>) half.y = _mm256_or_si256(half.y, _mm256_set1_epi32(0x10000));
    return half;
}

// S - m of candidate i of a folded row.
BWVOQ_AVX2 inline __m256i FoldedScore(const CandidateTerms& terms, int32_t i, __m256i x, __m256i y) {
    return _mm256_add_epi32(_mm256_madd_epi16(x, _mm256_set1_epi32(terms.ca[i])),
                            _mm256_madd_epi16(y, _mm256_set1_epi32(terms.cb[i])));
}

// The four slots' S of row `row` of the Fast searches' terms (less m where folded).
template <const MeasureFactors& f>
BWVOQ_AVX2 inline RowSlots FastTermsRow(const PreparedHalf& half, const CandidateTerms& terms, int32_t row) {
    const int32_t i = 4 * row;
    if (kFoldsSquares<f> && row < kFoldedRows) {
        return ChooseSlots(FoldedScore(terms, i, half.x, half.y), FoldedScore(terms, i + 1, half.x, half.y),
                           FoldedScore(terms, i + 2, half.x, half.y), FoldedScore(terms, i + 3, half.x, half.y));
    }
    return ChooseSlots(ClampedScore(terms, i, half.x, half.y), ClampedScore(terms, i + 1, half.x, half.y),
                       ClampedScore(terms, i + 2, half.x, half.y), ClampedScore(terms, i + 3, half.x, half.y));
}

template <const MeasureFactors& f, int32_t q>
BWVOQ_AVX2 inline __m256i FastRowBest(const PreparedHalf& half, int32_t unclamped, const CandidateTerms& terms) {
    return q < unclamped ? UnclampedRow<f, q>(half).best : FastTermsRow<f>(half, terms, q).best;
}

// The rows' errors from the least S of each pixel in each row, plus P, summed over the pixels.
BWVOQ_AVX2 inline __m256i RowErrorsOf(const __m256i best[8], __m256i pixelTerm) {
    return _mm256_add_epi32(SumLanesOfEach(best), SumOfLanes(pixelTerm));
}

// The rows' errors alone from the Fast searches' terms: the slot masks are never
// formed. Kept out of line: inlined into the loop over the bases it spills
// registers and costs more.
template <const MeasureFactors& f>
BWVOQ_AVX2 __attribute__((noinline)) __m256i EvaluateRowErrors(const HalfPairs& pixels, const uint8_t* base,
                                                            const BaseTerms& entry) {
    const PreparedHalf half = PrepareFastHalf<f>(pixels, base);
    const int32_t unclamped = entry.unclamped;
    const CandidateTerms& terms = entry.terms;
    const __m256i best[8] = {
        FastRowBest<f, 0>(half, unclamped, terms), FastRowBest<f, 1>(half, unclamped, terms),
        FastRowBest<f, 2>(half, unclamped, terms), FastRowBest<f, 3>(half, unclamped, terms),
        FastRowBest<f, 4>(half, unclamped, terms), FastRowBest<f, 5>(half, unclamped, terms),
        FastRowBest<f, 6>(half, unclamped, terms), FastRowBest<f, 7>(half, unclamped, terms)};
    return _mm256_add_epi32(RowErrorsOf(best, half.pixelTerm),
                            _mm256_load_si256(reinterpret_cast<const __m256i*>(entry.rowOffsets)));
}

BWVOQ_AVX2 inline void StoreErrors(__m256i errors, uint32_t* error, int32_t& least) {
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(error), errors);
    least = FirstLeastLane(errors);
}

template <const MeasureFactors& f>
BWVOQ_AVX2 void ComputeRows(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                            ModifierRows& rows) {
    const PreparedHalf half = PrepareHalf<f>(GatherHalfPairs(block, shape, first), base);
    CandidateTerms terms;
    const int32_t unclamped = ComputeBaseTerms<f>(base, terms);
    const RowSlots slots[8] = {Row<f, 0>(half, unclamped, terms), Row<f, 1>(half, unclamped, terms),
                               Row<f, 2>(half, unclamped, terms), Row<f, 3>(half, unclamped, terms),
                               Row<f, 4>(half, unclamped, terms), Row<f, 5>(half, unclamped, terms),
                               Row<f, 6>(half, unclamped, terms), Row<f, 7>(half, unclamped, terms)};
    const __m256i best[8] = {slots[0].best, slots[1].best, slots[2].best, slots[3].best,
                             slots[4].best, slots[5].best, slots[6].best, slots[7].best};
    StoreErrors(RowErrorsOf(best, half.pixelTerm), rows.error, rows.least);
    rows.msb = RowBits(slots, &RowSlots::msb);
    rows.lsb = RowBits(slots, &RowSlots::lsb);
}

template <const MeasureFactors& f>
BWVOQ_AVX2 void ComputeErrors(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                              int32_t count, RowErrors* out) {
    const HalfPairs pixels = GatherHalfPairs(block, shape, first);
    for (int32_t n = 0; n < count; ++n) {
        StoreErrors(EvaluateRowErrors<f>(pixels, bases[n], TermsOfBase<f>(bases[n])), out[n].error, out[n].least);
    }
}

// One row's slots from its clamped terms, which hold for a row without clamping too.
template <const MeasureFactors& f>
BWVOQ_AVX2 void ComputePlanes(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base, int32_t row,
                              uint32_t& msb, uint32_t& lsb) {
    const PreparedHalf half = PrepareFastHalf<f>(GatherHalfPairs(block, shape, first), base);
    const RowSlots slots = FastTermsRow<f>(half, TermsOfBase<f>(base).terms, row);
    msb = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(slots.msb)));
    lsb = static_cast<uint32_t>(_mm256_movemask_ps(_mm256_castsi256_ps(slots.lsb)));
}

}  // namespace

void ComputeModifierRowsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                             ErrorMeasure measure, ModifierRows& rows) {
    if (measure == ErrorMeasure::Plain) {
        ComputeRows<kPlainFactors>(block, shape, first, base, rows);
    } else {
        ComputeRows<kPerceptualFactors>(block, shape, first, base, rows);
    }
}

void ComputeRowErrorsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                          int32_t count, ErrorMeasure measure, RowErrors* errors) {
    if (measure == ErrorMeasure::Plain) {
        ComputeErrors<kPlainFactors>(block, shape, first, bases, count, errors);
    } else {
        ComputeErrors<kPerceptualFactors>(block, shape, first, bases, count, errors);
    }
}

void ComputeRowPlanesAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                          ErrorMeasure measure, int32_t row, uint32_t& msb, uint32_t& lsb) {
    if (measure == ErrorMeasure::Plain) {
        ComputePlanes<kPlainFactors>(block, shape, first, base, row, msb, lsb);
    } else {
        ComputePlanes<kPerceptualFactors>(block, shape, first, base, row, msb, lsb);
    }
}

#else

void ComputeRowErrorsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t (*bases)[3],
                          int32_t count, ErrorMeasure measure, RowErrors* errors) {
    ComputeRowErrorsPortable(block, shape, first, bases, count, measure, errors);
}

void ComputeRowPlanesAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                          ErrorMeasure measure, int32_t row, uint32_t& msb, uint32_t& lsb) {
    ComputeRowPlanesPortable(block, shape, first, base, measure, row, msb, lsb);
}

void ComputeModifierRowsAvx2(const uint8_t* block, HalfShape shape, int32_t first, const uint8_t* base,
                             ErrorMeasure measure, ModifierRows& rows) {
    ComputeModifierRowsPortable(block, shape, first, base, measure, rows);
}

#endif

}  // namespace ETC1Encoder
