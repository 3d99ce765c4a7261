#include "etc1/ETC1BlockSearch.h"

#include <cstdint>

#include "etc1/ETC1DifferentialPairing.h"
#include "etc1/ETC1HalfBlock.h"
#include "etc1/ETC1ModifierSearch.h"
#include "image/ETC1BlockFormat.h"

namespace ETC1Encoder {

namespace {

namespace Format = ImageLib::ETC1Format;

// The final searches' bounds, above every half's error.
constexpr int32_t kPlainFinalBound = kAboveEveryBlockError;
constexpr int32_t kPerceptualFinalBound = kAboveEveryHalfError;
// The 4-bit code 15 is never tried.
constexpr CodeBox kIndividualCodes{{0, 0, 0}, {14, 14, 14}};

struct OrientationChoice {
    bool found;
    int32_t error;
    bool differential;
    int32_t first[3];
    int32_t second[3];
};

// The halves' least sums in individual mode, and bounds on them, each worked
// out for all four halves at once when first needed: tall at column 0 and 2,
// then wide at row 0 and 2.
struct IndividualLowests {
    bool boundsKnown;
    uint32_t bounds[4];
    bool known;
    uint32_t lowest[4];
};

// What one orientation's search works with; the tables are scratch for both halves.
struct Orientation {
    const uint8_t* block;
    ErrorMeasure measure;
    HalfShape shape;
    const WindowRules& rules;
    const ColourSearchKernel& kernel;
    HalfTables& firstTables;
    HalfTables& secondTables;
    BlockQuarters& quarters;
    IndividualLowests& individual;
    HalfPixels firstHalf;
    HalfPixels secondHalf;
    float firstAverage[3];
    float secondAverage[3];
    int32_t firstCentre[3];  // the averages in 5 bits, rounded
    int32_t secondCentre[3];
};

int32_t CentreCode(float average) { return static_cast<int32_t>(average * 31.0 / 255.0 + 0.5); }

int32_t IndividualSeed(float average) {
    int32_t code = static_cast<int32_t>(average / 17.0 + 0.5);
    return code < kIndividualCodes.high[0] ? code : kIndividualCodes.high[0];
}

CodeBox Window(const int32_t centre[3], int32_t radius) {
    CodeBox box{};
    for (int32_t channel = 0; channel < 3; ++channel) {
        box.low[channel] = centre[channel] - radius > 0 ? centre[channel] - radius : 0;
        box.high[channel] = centre[channel] + radius < 31 ? centre[channel] + radius : 31;
    }
    return box;
}

bool GatePasses(const Orientation& o) {
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t step = o.secondCentre[channel] - o.firstCentre[channel];
        if (step < o.rules.gateLow || step > o.rules.gateHigh) return false;
    }
    return true;
}

// True when the halves' least errors already add up to the cutoff.
bool HalvesOutOfReach(const Orientation& o, int32_t cutoff) {
    return LeastError(o.firstTables) + LeastError(o.secondTables) >= cutoff;
}

OrientationChoice TryDifferential(Orientation& o, int32_t cutoff) {
    o.kernel.prepare(o.firstTables, o.quarters, o.firstHalf, 0, o.measure, o.shape, 5,
                     Window(o.firstCentre, o.rules.radius));
    o.kernel.prepare(o.secondTables, o.quarters, o.secondHalf, 2, o.measure, o.shape, 5,
                     Window(o.secondCentre, o.rules.radius));
    if (HalvesOutOfReach(o, cutoff)) return OrientationChoice{false, cutoff, true, {}, {}};
    ColourPair pair =
        PairDifferentialColours(o.kernel, o.firstTables, o.secondTables, o.firstCentre, o.secondCentre, cutoff);
    OrientationChoice choice{pair.found, pair.total, true, {}, {}};
    for (int32_t channel = 0; channel < 3; ++channel) {
        choice.first[channel] = pair.first[channel];
        choice.second[channel] = pair.second[channel];
    }
    return choice;
}

// HalvesOutOfReach for individual mode, without preparing the halves' tables.
// The cheap bounds settle most blocks.
bool IndividualOutOfReach(Orientation& o, int32_t cutoff) {
    IndividualLowests& sums = o.individual;
    const int32_t first = o.shape == HalfShape::Wide ? 2 : 0;
    auto outOfReach = [&](const uint32_t* least) {
        return LeastSearchError(o.measure, least[first]) + LeastSearchError(o.measure, least[first + 1]) >= cutoff;
    };
    if (!sums.boundsKnown) {
        o.kernel.halfLowerBounds(o.firstTables, o.block, o.measure, 4, kIndividualCodes, sums.bounds);
        sums.boundsKnown = true;
    }
    if (outOfReach(sums.bounds)) return true;
    if (!sums.known) {
        o.kernel.halfLowests(o.firstTables, o.block, o.measure, 4, kIndividualCodes, sums.lowest);
        sums.known = true;
    }
    return outOfReach(sums.lowest);
}

// Each half's best 4-bit colour on its own; the sum must stay below the cutoff.
OrientationChoice TryIndividual(Orientation& o, int32_t cutoff) {
    OrientationChoice choice{false, cutoff, false, {}, {}};
    if (IndividualOutOfReach(o, cutoff)) return choice;
    o.kernel.prepare(o.firstTables, o.quarters, o.firstHalf, 0, o.measure, o.shape, 4, kIndividualCodes);
    o.kernel.prepare(o.secondTables, o.quarters, o.secondHalf, 2, o.measure, o.shape, 4, kIndividualCodes);
    int32_t seed[3];
    for (int32_t channel = 0; channel < 3; ++channel) seed[channel] = IndividualSeed(o.firstAverage[channel]);
    Candidate first =
        o.kernel.findFirstBest(o.firstTables, kIndividualCodes, cutoff - LeastError(o.secondTables), seed);
    if (first.key < 0) return choice;
    for (int32_t channel = 0; channel < 3; ++channel) seed[channel] = IndividualSeed(o.secondAverage[channel]);
    Candidate second = o.kernel.findFirstBest(o.secondTables, kIndividualCodes, cutoff - first.error, seed);
    if (second.key < 0) return choice;
    choice = OrientationChoice{true, first.error + second.error, false, {}, {}};
    for (int32_t channel = 0; channel < 3; ++channel) {
        choice.first[channel] = KeyCode(first.key, channel);
        choice.second[channel] = KeyCode(second.key, channel);
    }
    return choice;
}

// The orientation's block when its error lies below `cutoff`. Differential mode
// wins ties with individual mode, so individual mode must be strictly better.
OrientationChoice SearchOrientation(Orientation& o, int32_t cutoff) {
    bool gatePasses = GatePasses(o);
    OrientationChoice differential =
        gatePasses ? TryDifferential(o, cutoff) : OrientationChoice{false, cutoff, true, {}, {}};
    if (gatePasses && !o.rules.individualToo) return differential;
    OrientationChoice individual = TryIndividual(o, differential.found ? differential.error : cutoff);
    return individual.found ? individual : differential;
}

void FinalHalfSearch(const uint8_t* block, ErrorMeasure measure, HalfShape shape, int32_t first,
                     const uint8_t colour[3], int32_t& row, uint32_t& msb, uint32_t& lsb) {
    if (measure == ErrorMeasure::Plain) {
        if (shape == HalfShape::Tall) ModifierSearchTall(block, first, colour, row, msb, lsb, kPlainFinalBound);
        else ModifierSearchWide(block, first, colour, row, msb, lsb, kPlainFinalBound);
    } else if (shape == HalfShape::Tall) {
        ModifierSearchTallPerceptual(block, first, colour, row, msb, lsb, kPerceptualFinalBound);
    } else {
        ModifierSearchWidePerceptual(block, first, colour, row, msb, lsb, kPerceptualFinalBound);
    }
}

// Differential mode: the first colour in 5 bits per channel, the second as a 3-bit difference.
uint32_t DifferentialHighWord(const int32_t first[3], const int32_t second[3], int32_t codeword1, int32_t codeword2,
                              HalfShape shape) {
    uint32_t word = 0;
    for (int32_t channel = 0; channel < 3; ++channel) {
        const uint32_t delta =
            static_cast<uint32_t>(second[channel] - first[channel]) & Format::FieldMask(Format::kDeltaBits);
        word |= (static_cast<uint32_t>(first[channel]) << Format::kDifferentialFirstShift | delta)
                << Format::kChannelShift[channel];
    }
    return word | CodewordsAndFlip(codeword1, codeword2, shape) | Format::kDiffBit;
}

// Individual mode: both colours in 4 bits per channel.
uint32_t IndividualHighWord(const int32_t first[3], const int32_t second[3], int32_t codeword1, int32_t codeword2,
                            HalfShape shape) {
    uint32_t word = 0;
    for (int32_t channel = 0; channel < 3; ++channel) {
        word |= (static_cast<uint32_t>(first[channel]) << Format::kIndividualFirstShift |
                 static_cast<uint32_t>(second[channel]))
                << Format::kChannelShift[channel];
    }
    return word | CodewordsAndFlip(codeword1, codeword2, shape);
}

// The chosen colours' table codewords and index planes come from one more search each.
void FinishBlock(const uint8_t* block, ErrorMeasure measure, HalfShape shape, const OrientationChoice& choice,
                 uint32_t& highWord, uint32_t& lowWord) {
    uint8_t firstColour[3], secondColour[3];
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t first = choice.first[channel], second = choice.second[channel];
        firstColour[channel] = static_cast<uint8_t>(choice.differential ? Expand5(first) : Expand4(first));
        secondColour[channel] = static_cast<uint8_t>(choice.differential ? Expand5(second) : Expand4(second));
    }
    int32_t firstRow = 0, secondRow = 0;
    uint32_t firstMsb = 0, firstLsb = 0, secondMsb = 0, secondLsb = 0;
    FinalHalfSearch(block, measure, shape, 0, firstColour, firstRow, firstMsb, firstLsb);
    FinalHalfSearch(block, measure, shape, 2, secondColour, secondRow, secondMsb, secondLsb);
    highWord = choice.differential
                   ? DifferentialHighWord(choice.first, choice.second, firstRow, secondRow, shape)
                   : IndividualHighWord(choice.first, choice.second, firstRow, secondRow, shape);
    lowWord = JoinIndexPlanes(firstMsb, firstLsb, secondMsb, secondLsb, shape);
}

Orientation MakeOrientation(const uint8_t* block, ErrorMeasure measure, HalfShape shape, const WindowRules& rules,
                            const ColourSearchKernel& kernel, HalfTables& firstTables, HalfTables& secondTables,
                            BlockQuarters& quarters, IndividualLowests& individual) {
    Orientation o{block, measure, shape, rules, kernel, firstTables, secondTables, quarters, individual,
                  GatherHalf(block, shape, 0), GatherHalf(block, shape, 2), {}, {}, {}, {}};
    HalfAverage(o.firstHalf, o.firstAverage);
    HalfAverage(o.secondHalf, o.secondAverage);
    for (int32_t channel = 0; channel < 3; ++channel) {
        o.firstCentre[channel] = CentreCode(o.firstAverage[channel]);
        o.secondCentre[channel] = CentreCode(o.secondAverage[channel]);
    }
    return o;
}

}  // namespace

void SearchBlock(const uint8_t* block, ErrorMeasure measure, const WindowRules& rules,
                 const ColourSearchKernel& kernel, uint32_t& highWord, uint32_t& lowWord) {
    HalfTables firstTables, secondTables;
    BlockQuarters quarters;
    ForgetQuarters(quarters);
    IndividualLowests individual{false, {}, false, {}};
    Orientation tall =
        MakeOrientation(block, measure, HalfShape::Tall, rules, kernel, firstTables, secondTables, quarters, individual);
    OrientationChoice tallChoice = SearchOrientation(tall, kAboveEveryBlockError);
    // The wide halves win only when strictly better.
    Orientation wide =
        MakeOrientation(block, measure, HalfShape::Wide, rules, kernel, firstTables, secondTables, quarters, individual);
    OrientationChoice wideChoice = SearchOrientation(wide, tallChoice.error);
    if (wideChoice.found) FinishBlock(block, measure, HalfShape::Wide, wideChoice, highWord, lowWord);
    else FinishBlock(block, measure, HalfShape::Tall, tallChoice, highWord, lowWord);
}

void CompressBlockMedium(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Plain, kMediumRules, FastestColourSearch(), highWord, lowWord);
}

void CompressBlockMediumPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Perceptual, kMediumRules, FastestColourSearch(), highWord, lowWord);
}

void CompressBlockSlow(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Plain, kSlowRules, FastestColourSearch(), highWord, lowWord);
}

void CompressBlockSlowPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Perceptual, kSlowRules, FastestColourSearch(), highWord, lowWord);
}

}  // namespace ETC1Encoder
