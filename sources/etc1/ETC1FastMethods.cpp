#include "etc1/ETC1FastMethods.h"

#include "etc1/ETC1FastCandidates.h"
#include "etc1/ETC1Methods.h"
#include "image/ETC1BlockFormat.h"

namespace ETC1Encoder {

double BlockErrorRGB(const uint8_t* source, const uint8_t* decoded) {
    // Every partial sum is an integer far below 2^53, so integer addition in any
    // order gives the double result exactly.
    int32_t sum = 0;
    for (int32_t i = 0; i < 48; ++i) {
        int32_t d = source[i] - decoded[i];
        sum += d * d;
    }
    return static_cast<double>(sum);
}

double BlockErrorPerceptual(const uint8_t* source, const uint8_t* decoded) {
    constexpr double kWeight[3] = {0.299, 0.587, 0.114};
    double sum = 0.0;
    for (int32_t x = 0; x < 4; ++x) {
        for (int32_t y = 0; y < 4; ++y) {
            int32_t offset = 3 * (4 * y + x);
            for (int32_t channel = 0; channel < 3; ++channel) {
                double d =
                    static_cast<double>(source[offset + channel]) - static_cast<double>(decoded[offset + channel]);
                sum += (d * d) * kWeight[channel];
            }
        }
    }
    return sum;
}

namespace {

using ImageLib::DecodeETC1Block;

// The first candidate's low word, taken from the second's when their high words agree.
uint32_t FirstLowWord(const uint8_t* block, FastMeasure measure, const FastCandidatePair& candidates,
                      uint32_t secondLow) {
    if (candidates.first.high == candidates.second.high) return secondLow;
    return FastLowWord(block, measure, candidates.first);
}

}  // namespace

void CompressBlockFast(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low) {
    const FastCandidatePair candidates = BuildFastCandidates(block, FastMeasure::Plain, FastColours::Hue);
    const uint32_t secondLow = FastLowWord(block, FastMeasure::Plain, candidates.second);
    // A plain candidate's error is the sum its searches found, which equals
    // BlockErrorRGB of its decoding exactly; only the second decoding is kept.
    DecodeETC1Block(candidates.second.high, secondLow, scratch);
    if (candidates.first.error > candidates.second.error) {
        high = candidates.second.high;
        low = secondLow;
    } else {
        high = candidates.first.high;
        low = FirstLowWord(block, FastMeasure::Plain, candidates, secondLow);
    }
}

void CompressBlockFastPerceptual(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low) {
    const FastCandidatePair candidates =
        BuildFastCandidates(block, FastMeasure::Perceptual, FastColours::HuePerceptual);
    const FastCandidate& first = candidates.first;
    const FastCandidate& second = candidates.second;
    const uint32_t secondLow = FastLowWord(block, FastMeasure::Perceptual, second);
    DecodeETC1Block(second.high, secondLow, scratch);
    // The searches' sums are the candidates' exact errors in thousandths, and the
    // double measure lies within 1e-7 of those: different thousandths decide
    // alone, equal ones of different candidates need the double measure's last bits.
    bool secondWins = first.internal > second.internal;
    uint32_t firstLow = 0;
    if (!secondWins) firstLow = FirstLowWord(block, FastMeasure::Perceptual, candidates, secondLow);
    if (first.internal == second.internal && first.high != second.high) {
        uint8_t firstDecoded[kETC1BlockBytes];
        DecodeETC1Block(first.high, firstLow, firstDecoded);
        secondWins = BlockErrorPerceptual(block, firstDecoded) > BlockErrorPerceptual(block, scratch);
    }
    high = secondWins ? second.high : first.high;
    low = secondWins ? secondLow : firstLow;
}

}  // namespace ETC1Encoder
