#include "etc1/FastCandidates.h"

#include "etc1/FastHalfSearches.h"
#include "etc1/FastSumQuantizers.h"

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
        result.high = (first << 11) | ((differences & 0x070707u) << 8) | 2u;
        base1 = Expanded5(first);
        base2 = Expanded5(second);
    } else {
        // The 4-bit colours come from the averages afresh, not from the 5-bit levels.
        const PackedColour individual1 = builder.quantize4(sums1);
        const PackedColour individual2 = builder.quantize4(sums2);
        result.high = (individual1 << 12) | (individual2 << 8);
        base1 = Expanded4(individual1);
        base2 = Expanded4(individual2);
    }
    const HalfSearchResult& half1 = searches.Search(flipped, 0, base1);
    const HalfSearchResult& half2 = searches.Search(flipped, 1, base2);
    result.high |= (static_cast<uint32_t>(half1.codeword) << 5) | (static_cast<uint32_t>(half2.codeword) << 2) |
                   (flipped ? 1u : 0u);
    if (flipped) {
        result.low = ((half1.msb | (half2.msb << 2)) << 16) | ((half1.lsb | (half2.lsb << 2)) & 0xFFFFu);
    } else {
        result.low = (half2.msb << 24) | (half1.msb << 16) | (half2.lsb << 8) | half1.lsb;
    }
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
