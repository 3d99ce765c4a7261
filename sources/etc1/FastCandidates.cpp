#include "etc1/FastCandidates.h"

#include "etc1/FastHalfSearches.h"
#include "etc1/FastQuantizers.h"

namespace {

struct Builder {
    QuantizedColor (*quantize5)(const float* average);
    QuantizedColor (*quantize4)(const float* average);
};

constexpr Builder kRounded = {QuantizeRounded555, QuantizeRounded444};
constexpr Builder kHue = {QuantizeHue555, QuantizeHue444};
constexpr Builder kHuePerceptual = {QuantizeHue555Perceptual, QuantizeHue444Perceptual};

QuantizedColor Expanded(const QuantizedColor& levels, int32_t (*expand)(int32_t)) {
    return {expand(levels[0]), expand(levels[1]), expand(levels[2])};
}

bool FitsDifferential(const QuantizedColor& first, const QuantizedColor& second) {
    for (int32_t c = 0; c < 3; ++c) {
        int32_t d = second[c] - first[c];
        if (d < -4 || d > 3) return false;
    }
    return true;
}

// The colour fields of the high word: R, G, B at bits 31, 23, 15 downwards.
uint32_t DifferentialColours(const QuantizedColor& first, const QuantizedColor& second) {
    uint32_t word = 0;
    for (int32_t c = 0; c < 3; ++c) {
        uint32_t delta = static_cast<uint32_t>(second[c] - first[c]) & 7u;
        word |= ((static_cast<uint32_t>(first[c]) << 3) | delta) << (24 - 8 * c);
    }
    return word | 2u;
}

uint32_t IndividualColours(const QuantizedColor& first, const QuantizedColor& second) {
    uint32_t word = 0;
    for (int32_t c = 0; c < 3; ++c) {
        word |= ((static_cast<uint32_t>(first[c]) << 4) | static_cast<uint32_t>(second[c])) << (24 - 8 * c);
    }
    return word;
}

struct Orientation {
    int32_t error = 0;
    uint32_t high = 0;
    uint32_t low = 0;
};

template <const Builder& builder>
Orientation CodeOrientation(FastHalfSearches& searches, bool flipped) {
    const float* average1 = searches.Average(flipped, 0);
    const float* average2 = searches.Average(flipped, 1);
    QuantizedColor first = builder.quantize5(average1);
    QuantizedColor second = builder.quantize5(average2);
    Orientation result;
    QuantizedColor base1;
    QuantizedColor base2;
    if (FitsDifferential(first, second)) {
        result.high = DifferentialColours(first, second);
        base1 = Expanded(first, Expand5);
        base2 = Expanded(second, Expand5);
    } else {
        // The 4-bit colours come from the averages afresh, not from the 5-bit levels.
        first = builder.quantize4(average1);
        second = builder.quantize4(average2);
        result.high = IndividualColours(first, second);
        base1 = Expanded(first, Expand4);
        base2 = Expanded(second, Expand4);
    }
    HalfSearchResult half1 = searches.Search(flipped, 0, base1);
    HalfSearchResult half2 = searches.Search(flipped, 1, base2);
    result.high |= (static_cast<uint32_t>(half1.codeword) << 5) | (static_cast<uint32_t>(half2.codeword) << 2) |
                   (flipped ? 1u : 0u);
    if (flipped) {
        result.low = ((half1.msb | (half2.msb << 2)) << 16) | ((half1.lsb | (half2.lsb << 2)) & 0xFFFFu);
    } else {
        result.low = (half2.msb << 24) | (half1.msb << 16) | (half2.lsb << 8) | half1.lsb;
    }
    result.error = half1.error + half2.error;
    return result;
}

// Both orientations; the stacked one only when strictly better.
template <const Builder& builder>
FastCandidate BuildWith(FastHalfSearches& searches) {
    Orientation sideBySide = CodeOrientation<builder>(searches, false);
    Orientation stacked = CodeOrientation<builder>(searches, true);
    const Orientation& chosen = stacked.error < sideBySide.error ? stacked : sideBySide;
    return {chosen.high, chosen.low, chosen.error};
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
