#include "etc1/ETC1FastCandidates.h"

#include "etc1/ETC1FastQuantizers.h"
#include "etc1/ETC1HalfSums.h"
#include "etc1/ETC1ModifierRows.h"
#include "etc1/ETC1ModifierSearch.h"
#include "image/ETC1BlockFormat.h"

namespace ETC1Encoder {
namespace {

namespace Format = ImageLib::ETC1Format;

// The wide perceptual search's bound, above any half's error.
constexpr uint32_t kPerceptualBound = kAboveEveryHalfError;
// Packed colours hold B in their lowest byte: shifted by this, every channel
// lands in its byte of the high word.
constexpr int32_t kPackedToHighWord = Format::kChannelShift[2];

HalfShape ShapeOf(bool flipped) { return flipped ? HalfShape::Wide : HalfShape::Tall; }

void Unpack(PackedColour colour, uint8_t* bytes) {
    bytes[0] = static_cast<uint8_t>(colour >> 16);
    bytes[1] = static_cast<uint8_t>(colour >> 8);
    bytes[2] = static_cast<uint8_t>(colour);
}

// 8-bit colours of packed levels, every byte at once.
PackedColour Expanded5(PackedColour levels) { return ((levels << 3) & 0xF8F8F8u) | ((levels >> 2) & 0x070707u); }
PackedColour Expanded4(PackedColour levels) { return levels * 17u; }

// One orientation of a candidate before its searches: the colours and the diff
// bit of its high word, and the base colours of its two halves.
struct OrientationPlan {
    uint32_t high;
    PackedColour base[2];
};

// The quantisers: the 5-bit levels of the four halves, and the 4-bit levels of one.
struct Builder {
    void (*quantize5)(const int32_t sums[kBlockHalves][3], PackedColour levels[kBlockHalves]);
    PackedColour (*quantize4)(const int32_t* sums);
};

constexpr Builder kRounded = {QuantizeHalvesRounded555, QuantizeRounded444OfSums};
constexpr Builder kHue = {QuantizeHalvesHue555, QuantizeHue444OfSums};
constexpr Builder kHuePerceptual = {QuantizeHalvesHue555Perceptual, QuantizeHue444PerceptualOfSums};

// The orientation of the two halves whose sums and 5-bit levels are given.
template <const Builder& builder>
OrientationPlan PlanOrientation(const int32_t sums[2][3], const PackedColour levels[2]) {
    const PackedColour first = levels[0];
    const PackedColour second = levels[1];
    // Every byte 128 + second - first, so no byte borrows from the next; the
    // low three bits of each are the difference as the high word codes it.
    const uint32_t differences = (second | 0x808080u) - first;
    if (((differences + 0x040404u) & 0xF8F8F8u) == 0x808080u) {  // every difference in -4..3
        return {(first << (Format::kDifferentialFirstShift + kPackedToHighWord)) |
                    ((differences & 0x070707u) << kPackedToHighWord) | Format::kDiffBit,
                {Expanded5(first), Expanded5(second)}};
    }
    // The 4-bit colours come from the averages afresh, not from the 5-bit levels.
    const PackedColour individual1 = builder.quantize4(sums[0]);
    const PackedColour individual2 = builder.quantize4(sums[1]);
    return {(individual1 << (Format::kIndividualFirstShift + kPackedToHighWord)) | (individual2 << kPackedToHighWord),
            {Expanded4(individual1), Expanded4(individual2)}};
}

// Both orientations of a candidate.
template <const Builder& builder>
void PlanCandidate(const int32_t sums[kBlockHalves][3], OrientationPlan plans[2]) {
    PackedColour levels[kBlockHalves];
    builder.quantize5(sums, levels);
    plans[0] = PlanOrientation<builder>(sums, levels);
    plans[1] = PlanOrientation<builder>(sums + 2, levels + 2);
}

using Planner = void (*)(const int32_t sums[kBlockHalves][3], OrientationPlan plans[2]);

Planner PlannerOf(FastColours colours) {
    switch (colours) {
        case FastColours::Rounded:
            return PlanCandidate<kRounded>;
        case FastColours::Hue:
            return PlanCandidate<kHue>;
        case FastColours::HuePerceptual:
            break;
    }
    return PlanCandidate<kHuePerceptual>;
}

// What the half's search returns for one base colour, from its rows' errors.
struct HalfOutcome {
    int32_t codeword;
    int32_t error;      // as the search returns it (perceptual: in thousands, rounded its own way)
    uint32_t internal;  // the chosen row's exact error (perceptual: in thousandths)
};

// The bounds of the Fast searches lie above every half's error, so the plain
// and the tall perceptual searches take the first row of least error.
HalfOutcome ChooseRow(const RowErrors& errors, FastMeasure measure, bool flipped) {
    HalfOutcome outcome;
    if (measure == FastMeasure::Plain) {
        outcome.codeword = errors.least;
        outcome.error = static_cast<int32_t>(errors.error[outcome.codeword]);
    } else if (flipped) {
        ModifierRows rows{};
        for (int32_t q = 0; q < kTableRows; ++q) rows.error[q] = errors.error[q];
        rows.least = errors.least;
        double best = kPerceptualBound;
        outcome.codeword = WidePerceptualModifierRow(rows, best);
        outcome.error = static_cast<int32_t>(best);
    } else {
        outcome.codeword = errors.least;
        outcome.error = static_cast<int32_t>(errors.error[outcome.codeword] / 1000u);
    }
    outcome.internal = errors.error[outcome.codeword];
    return outcome;
}

// Up to two candidates built together: for each half the distinct base colours
// of the candidates go to the row kernel in one call.
template <int32_t count>
void BuildTogether(const uint8_t* block, FastMeasure measure, const FastColours (&colours)[count],
                   FastCandidate (&candidates)[count]) {
    int32_t sums[kBlockHalves][3];
    SumBlockHalves(block, sums);
    OrientationPlan plans[count][2];
    for (int32_t c = 0; c < count; ++c) PlannerOf(colours[c])(sums, plans[c]);
    HalfOutcome outcomes[count][2][2];
    for (int32_t flipped = 0; flipped < 2; ++flipped) {
        for (int32_t half = 0; half < 2; ++half) {
            uint8_t bases[count][3];
            int32_t which[count];  // the base of each candidate among `bases`
            int32_t distinct = 0;
            for (int32_t c = 0; c < count; ++c) {
                const PackedColour base = plans[c][flipped].base[half];
                if (c > 0 && base == plans[0][flipped].base[half]) {
                    which[c] = 0;
                } else {
                    Unpack(base, bases[distinct]);
                    which[c] = distinct++;
                }
            }
            RowErrors errors[count];
            ComputeRowErrors(block, ShapeOf(flipped != 0), 2 * half, bases, distinct, measure, errors);
            for (int32_t c = 0; c < count; ++c) {
                outcomes[c][flipped][half] = ChooseRow(errors[which[c]], measure, flipped != 0);
            }
        }
    }
    for (int32_t c = 0; c < count; ++c) {
        int32_t errors[2];
        for (int32_t flipped = 0; flipped < 2; ++flipped) {
            errors[flipped] = outcomes[c][flipped][0].error + outcomes[c][flipped][1].error;
        }
        // The stacked halves only when strictly better.
        const int32_t flipped = errors[1] < errors[0] ? 1 : 0;
        const HalfOutcome& half1 = outcomes[c][flipped][0];
        const HalfOutcome& half2 = outcomes[c][flipped][1];
        const OrientationPlan& plan = plans[c][flipped];
        candidates[c] = {plan.high | CodewordsAndFlip(half1.codeword, half2.codeword, ShapeOf(flipped != 0)),
                         errors[flipped],
                         half1.internal + half2.internal,
                         {plan.base[0], plan.base[1]}};
    }
}

void Build(const uint8_t* block, FastMeasure measure, FastColours colours, uint32_t& high, uint32_t& low) {
    const FastCandidate candidate = BuildFastCandidate(block, measure, colours);
    high = candidate.high;
    low = FastLowWord(block, measure, candidate);
}

}  // namespace

FastCandidatePair BuildFastCandidates(const uint8_t* block, FastMeasure measure, FastColours secondColours) {
    FastCandidate candidates[2];
    BuildTogether<2>(block, measure, {FastColours::Rounded, secondColours}, candidates);
    return {candidates[0], candidates[1]};
}

FastCandidate BuildFastCandidate(const uint8_t* block, FastMeasure measure, FastColours colours) {
    FastCandidate candidate[1];
    BuildTogether<1>(block, measure, {colours}, candidate);
    return candidate[0];
}

uint32_t FastLowWord(const uint8_t* block, FastMeasure measure, const FastCandidate& candidate) {
    const HalfShape shape = ShapeOf((candidate.high & Format::kFlipBit) != 0);
    const uint32_t codewordMask = Format::FieldMask(Format::kCodewordBits);
    const int32_t codewords[2] = {static_cast<int32_t>((candidate.high >> Format::kCodeword1Shift) & codewordMask),
                                  static_cast<int32_t>((candidate.high >> Format::kCodeword2Shift) & codewordMask)};
    uint32_t msb[2];
    uint32_t lsb[2];
    for (int32_t half = 0; half < 2; ++half) {
        uint8_t base[3];
        Unpack(candidate.base[half], base);
        ComputeRowPlanes(block, shape, 2 * half, base, measure, codewords[half], msb[half], lsb[half]);
    }
    return JoinIndexPlanes(HalfPlane(msb[0], shape), HalfPlane(lsb[0], shape), HalfPlane(msb[1], shape),
                           HalfPlane(lsb[1], shape), shape);
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
