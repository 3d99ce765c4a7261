#include "etc1/FastCandidates.h"

#include "etc1/FastQuantizers.h"
#include "etc1/HalfBlockAverage.h"
#include "etc1/ModifierSearch.h"

namespace {

// 3 x 16 x 255^2 and 3 x 8 x 255^2: above any half's error, so every search writes its outputs.
constexpr int32_t kPlainBound = 3121200;
constexpr int32_t kPerceptualBound = 1560600;

struct HalfResult {
    int32_t error = 0;
    int32_t codeword = 0;
    uint32_t msb = 0;
    uint32_t lsb = 0;
};

enum class Measure { Plain, Perceptual };

struct Builder {
    QuantizedColor (*quantize5)(const float* average);
    QuantizedColor (*quantize4)(const float* average);
    Measure measure;
};

constexpr Builder kRounded = {QuantizeRounded555, QuantizeRounded444, Measure::Plain};
constexpr Builder kHue = {QuantizeHue555, QuantizeHue444, Measure::Plain};
constexpr Builder kRoundedPerceptual = {QuantizeRounded555, QuantizeRounded444, Measure::Perceptual};
constexpr Builder kHuePerceptual = {QuantizeHue555Perceptual, QuantizeHue444Perceptual, Measure::Perceptual};

HalfResult SearchHalf(const uint8_t* block, bool flipped, int32_t first, const QuantizedColor& base, Measure measure) {
    const uint8_t colour[3] = {static_cast<uint8_t>(base[0]), static_cast<uint8_t>(base[1]),
                               static_cast<uint8_t>(base[2])};
    HalfResult half;
    if (measure == Measure::Plain) {
        half.error = flipped ? ModifierSearchWide(block, first, colour, half.codeword, half.msb, half.lsb, kPlainBound)
                             : ModifierSearchTall(block, first, colour, half.codeword, half.msb, half.lsb, kPlainBound);
    } else if (flipped) {
        half.error = ModifierSearchWidePerceptual(block, first, colour, half.codeword, half.msb, half.lsb,
                                                  static_cast<double>(kPerceptualBound));
    } else {
        half.error = static_cast<int32_t>(ModifierSearchTallPerceptual(
            block, first, colour, half.codeword, half.msb, half.lsb, static_cast<uint32_t>(kPerceptualBound)));
    }
    return half;
}

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

Orientation CodeOrientation(const uint8_t* block, bool flipped, const Builder& builder) {
    float average1[3];
    float average2[3];
    if (flipped) {
        HalfBlockAverageWide(block, 0, average1);
        HalfBlockAverageWide(block, 2, average2);
    } else {
        HalfBlockAverageTall(block, 0, average1);
        HalfBlockAverageTall(block, 2, average2);
    }
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
    HalfResult half1 = SearchHalf(block, flipped, 0, base1, builder.measure);
    HalfResult half2 = SearchHalf(block, flipped, 2, base2, builder.measure);
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

const Builder& BuilderOf(FastCandidateKind kind) {
    switch (kind) {
        case FastCandidateKind::Rounded:
            return kRounded;
        case FastCandidateKind::Hue:
            return kHue;
        case FastCandidateKind::RoundedPerceptual:
            return kRoundedPerceptual;
        case FastCandidateKind::HuePerceptual:
            break;
    }
    return kHuePerceptual;
}

void Build(const uint8_t* block, FastCandidateKind kind, uint32_t& high, uint32_t& low) {
    FastCandidate candidate = BuildFastCandidate(block, kind);
    high = candidate.high;
    low = candidate.low;
}

}  // namespace

FastCandidate BuildFastCandidate(const uint8_t* block, FastCandidateKind kind) {
    const Builder& builder = BuilderOf(kind);
    Orientation sideBySide = CodeOrientation(block, false, builder);
    Orientation stacked = CodeOrientation(block, true, builder);
    const Orientation& chosen = stacked.error < sideBySide.error ? stacked : sideBySide;
    return {chosen.high, chosen.low, chosen.error};
}

void CompressBlockFastRounded(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastCandidateKind::Rounded, high, low);
}

void CompressBlockFastHue(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastCandidateKind::Hue, high, low);
}

void CompressBlockFastRoundedPerceptual(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastCandidateKind::RoundedPerceptual, high, low);
}

void CompressBlockFastHuePerceptual(const uint8_t* block, uint32_t& high, uint32_t& low) {
    Build(block, FastCandidateKind::HuePerceptual, high, low);
}
