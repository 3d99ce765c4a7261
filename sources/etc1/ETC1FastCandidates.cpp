#include "etc1/ETC1FastCandidates.h"

#include "etc1/ETC1FastQuantizers.h"
#include "etc1/ETC1ModifierRows.h"
#include "etc1/ETC1ModifierSearch.h"
#include "image/ETC1BlockFormat.h"

namespace ETC1Encoder {
namespace {

namespace Format = ImageLib::ETC1Format;

// Above any half's error, so every search writes its outputs.
constexpr uint32_t kPlainBound = kAboveEveryBlockError;
constexpr uint32_t kPerceptualBound = kAboveEveryHalfError;
// Packed colours hold B in their lowest byte: shifted by this, every channel
// lands in its byte of the high word.
constexpr int32_t kPackedToHighWord = Format::kChannelShift[2];

// Fills the remembered result in place: a returned copy would be stored and
// read back once more on every search.
void RunSearch(const uint8_t* block, bool flipped, int32_t first, PackedColour base, FastMeasure measure,
               HalfSearchResult& half) {
    const uint8_t colour[3] = {static_cast<uint8_t>(base >> 16), static_cast<uint8_t>(base >> 8),
                               static_cast<uint8_t>(base)};
    const HalfShape shape = flipped ? HalfShape::Wide : HalfShape::Tall;
    ModifierRows rows;
    ComputeModifierRows(block, shape, first, colour, measure, rows);
    if (measure == FastMeasure::Plain) {
        half.codeword = LeastModifierRow(rows, kPlainBound);
        half.error = static_cast<int32_t>(rows.error[half.codeword]);
    } else if (flipped) {
        double best = kPerceptualBound;
        half.codeword = WidePerceptualModifierRow(rows, best);
        half.error = static_cast<int32_t>(best);
    } else {
        half.codeword = LeastModifierRow(rows, kPerceptualBound * 1000u);
        half.error = static_cast<int32_t>(rows.error[half.codeword] / 1000u);
    }
    half.internal = rows.error[half.codeword];
    half.msb = HalfPlane(rows.Msb(half.codeword), shape);
    half.lsb = HalfPlane(rows.Lsb(half.codeword), shape);
}

// Channel sums of the tall halves (columns 0-1, 2-3) and the wide ones (rows 0-1, 2-3).
void SumHalves(const uint8_t* block, int32_t sums[2][2][3]) {
    int32_t pairs[4][2][3];  // row, column pair, channel: two neighbouring pixels
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t pair = 0; pair < 2; ++pair) {
            const uint8_t* pixel = block + 3 * (4 * y + 2 * pair);
            for (int32_t c = 0; c < 3; ++c) pairs[y][pair][c] = pixel[c] + pixel[3 + c];
        }
    }
    for (int32_t half = 0; half < 2; ++half) {
        for (int32_t c = 0; c < 3; ++c) {
            sums[0][half][c] = pairs[0][half][c] + pairs[1][half][c] + pairs[2][half][c] + pairs[3][half][c];
            sums[1][half][c] = pairs[2 * half][0][c] + pairs[2 * half][1][c] + pairs[2 * half + 1][0][c] +
                               pairs[2 * half + 1][1][c];
        }
    }
}

}  // namespace

FastHalfSearches::FastHalfSearches(const uint8_t* block, FastMeasure measure) : block_(block), measure_(measure) {
    SumHalves(block, sums_);
}

const HalfSearchResult& FastHalfSearches::Search(bool flipped, int32_t half, PackedColour base) {
    Remembered& remembered = remembered_[flipped][half];
    if (remembered.base != base) {
        remembered.base = base;
        RunSearch(block_, flipped, 2 * half, base, measure_, remembered.result);
    }
    return remembered.result;
}

namespace {

// The quantisers, given a half's channel sums.
struct Builder {
    PackedColour (*quantize5)(const int32_t* sums);
    PackedColour (*quantize4)(const int32_t* sums);
};

constexpr Builder kRounded = {QuantizeRounded555OfSums, QuantizeRounded444OfSums};
constexpr Builder kHue = {QuantizeHue555OfSums, QuantizeHue444OfSums};
constexpr Builder kHuePerceptual = {QuantizeHue555PerceptualOfSums, QuantizeHue444PerceptualOfSums};

// 8-bit colours of packed levels, every byte at once.
PackedColour Expanded5(PackedColour levels) { return ((levels << 3) & 0xF8F8F8u) | ((levels >> 2) & 0x070707u); }
PackedColour Expanded4(PackedColour levels) { return levels * 17u; }

struct Orientation {
    int32_t error = 0;
    uint32_t internal = 0;
    uint32_t high = 0;
    uint32_t low = 0;
};

template <const Builder& builder>
Orientation CodeOrientation(FastHalfSearches& searches, bool flipped) {
    const int32_t* sums1 = searches.Sums(flipped, 0);
    const int32_t* sums2 = searches.Sums(flipped, 1);
    const PackedColour first = builder.quantize5(sums1);
    const PackedColour second = builder.quantize5(sums2);
    // Every byte 128 + second - first, so no byte borrows from the next; the
    // low three bits of each are the difference as the high word codes it.
    const uint32_t differences = (second | 0x808080u) - first;
    Orientation result;
    PackedColour base1;
    PackedColour base2;
    if (((differences + 0x040404u) & 0xF8F8F8u) == 0x808080u) {  // every difference in -4..3
        result.high = (first << (Format::kDifferentialFirstShift + kPackedToHighWord)) |
                      ((differences & 0x070707u) << kPackedToHighWord) | Format::kDiffBit;
        base1 = Expanded5(first);
        base2 = Expanded5(second);
    } else {
        // The 4-bit colours come from the averages afresh, not from the 5-bit levels.
        const PackedColour individual1 = builder.quantize4(sums1);
        const PackedColour individual2 = builder.quantize4(sums2);
        result.high = (individual1 << (Format::kIndividualFirstShift + kPackedToHighWord)) |
                      (individual2 << kPackedToHighWord);
        base1 = Expanded4(individual1);
        base2 = Expanded4(individual2);
    }
    const HalfSearchResult& half1 = searches.Search(flipped, 0, base1);
    const HalfSearchResult& half2 = searches.Search(flipped, 1, base2);
    const HalfShape shape = flipped ? HalfShape::Wide : HalfShape::Tall;
    result.high |= CodewordsAndFlip(half1.codeword, half2.codeword, shape);
    result.low = JoinIndexPlanes(half1.msb, half1.lsb, half2.msb, half2.lsb, shape);
    result.error = half1.error + half2.error;
    result.internal = half1.internal + half2.internal;
    return result;
}

// Both orientations; the stacked one only when strictly better.
template <const Builder& builder>
FastCandidate BuildWith(FastHalfSearches& searches) {
    Orientation sideBySide = CodeOrientation<builder>(searches, false);
    Orientation stacked = CodeOrientation<builder>(searches, true);
    const Orientation& chosen = stacked.error < sideBySide.error ? stacked : sideBySide;
    return {chosen.high, chosen.low, chosen.error, chosen.internal};
}

void Build(const uint8_t* block, FastMeasure measure, FastColours colours, uint32_t& high, uint32_t& low) {
    FastHalfSearches searches(block, measure);
    FastCandidate candidate = BuildFastCandidate(searches, colours);
    high = candidate.high;
    low = candidate.low;
}

}  // namespace

FastCandidate BuildFastCandidate(FastHalfSearches& searches, FastColours colours) {
    switch (colours) {
        case FastColours::Rounded:
            return BuildWith<kRounded>(searches);
        case FastColours::Hue:
            return BuildWith<kHue>(searches);
        case FastColours::HuePerceptual:
            break;
    }
    return BuildWith<kHuePerceptual>(searches);
}

void CompressBlockFastRounded(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastMeasure::Plain, FastColours::Rounded, high, low);
}

void CompressBlockFastHue(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastMeasure::Plain, FastColours::Hue, high, low);
}

void CompressBlockFastRoundedPerceptual(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastMeasure::Perceptual, FastColours::Rounded, high, low);
}

void CompressBlockFastHuePerceptual(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastMeasure::Perceptual, FastColours::HuePerceptual, high, low);
}

}  // namespace ETC1Encoder
