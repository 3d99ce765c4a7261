#include "etc1/FastMethods.h"

#include "etc1/BlockError.h"
#include "etc1/ETC1BlockDecoder.h"
#include "etc1/FastCandidates.h"

namespace {

// 299 dR^2 + 587 dG^2 + 114 dB^2 over the block: a thousand times the
// perceptual error, exactly.
int32_t PerceptualErrorThousandths(const uint8_t* source, const uint8_t* decoded) {
    constexpr int32_t kWeight[3] = {299, 587, 114};
    int32_t sum = 0;
    for (int32_t i = 0; i < 48; ++i) {
        int32_t d = source[i] - decoded[i];
        sum += kWeight[i % 3] * d * d;
    }
    return sum;
}

}  // namespace

void CompressBlockFast(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low) {
    FastHalfSearches searches(block, FastMeasure::Plain);
    FastCandidate first = BuildFastCandidate(searches, FastColours::Rounded);
    FastCandidate second = BuildFastCandidate(searches, FastColours::Hue);
    // A plain candidate's error is the sum its searches found, which equals
    // BlockErrorRGB of its decoding exactly; only the second decoding is kept.
    DecodeETC1Block(second.high, second.low, scratch);
    bool secondWins = first.error > second.error;
    high = secondWins ? second.high : first.high;
    low = secondWins ? second.low : first.low;
}

void CompressBlockFastPerceptual(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low) {
    FastHalfSearches searches(block, FastMeasure::Perceptual);
    FastCandidate first = BuildFastCandidate(searches, FastColours::Rounded);
    FastCandidate second = BuildFastCandidate(searches, FastColours::HuePerceptual);
    DecodeETC1Block(second.high, second.low, scratch);
    if (first.high == second.high && first.low == second.low) {
        // Equal candidates measure equal: the first stays.
        high = first.high;
        low = first.low;
        return;
    }
    uint8_t firstDecoded[48];
    DecodeETC1Block(first.high, first.low, firstDecoded);
    // The double measure lies within 1e-7 of the exact thousandths, so different
    // thousandths decide alone; equal ones need the double measure's last bits.
    int32_t firstThousandths = PerceptualErrorThousandths(block, firstDecoded);
    int32_t secondThousandths = PerceptualErrorThousandths(block, scratch);
    bool secondWins = firstThousandths != secondThousandths
                          ? firstThousandths > secondThousandths
                          : BlockErrorPerceptual(block, firstDecoded) > BlockErrorPerceptual(block, scratch);
    high = secondWins ? second.high : first.high;
    low = secondWins ? second.low : first.low;
}
