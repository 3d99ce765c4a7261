#include "etc1/FastMethods.h"

#include "etc1/BlockError.h"
#include "etc1/FastCandidates.h"
#include "image/ETC1BlockFormat.h"

using ImageLib::DecodeETC1Block;

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
    // The searches' sums are the candidates' exact errors in thousandths, and the
    // double measure lies within 1e-7 of those: different thousandths decide
    // alone, equal ones of different candidates need the double measure's last bits.
    bool secondWins = first.internal > second.internal;
    if (first.internal == second.internal && (first.high != second.high || first.low != second.low)) {
        uint8_t firstDecoded[48];
        DecodeETC1Block(first.high, first.low, firstDecoded);
        secondWins = BlockErrorPerceptual(block, firstDecoded) > BlockErrorPerceptual(block, scratch);
    }
    high = secondWins ? second.high : first.high;
    low = secondWins ? second.low : first.low;
}
