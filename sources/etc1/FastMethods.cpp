#include "etc1/FastMethods.h"

#include "etc1/BlockError.h"
#include "etc1/ETC1BlockDecoder.h"
#include "etc1/FastCandidates.h"

namespace {

using CandidateBuilder = void (*)(const uint8_t* block, uint32_t& high, uint32_t& low);
using ErrorMeasure = double (*)(const uint8_t* source, const uint8_t* decoded);

void ChooseCandidate(const uint8_t* block, uint8_t* scratch, CandidateBuilder first, CandidateBuilder second,
                     ErrorMeasure measure, uint32_t& high, uint32_t& low) {
    uint32_t firstHigh = 0;
    uint32_t firstLow = 0;
    first(block, firstHigh, firstLow);
    DecodeETC1Block(firstHigh, firstLow, scratch);
    double firstError = measure(block, scratch);
    uint32_t secondHigh = 0;
    uint32_t secondLow = 0;
    second(block, secondHigh, secondLow);
    DecodeETC1Block(secondHigh, secondLow, scratch);
    double secondError = measure(block, scratch);
    bool secondWins = firstError > secondError;
    high = secondWins ? secondHigh : firstHigh;
    low = secondWins ? secondLow : firstLow;
}

}  // namespace

void CompressBlockFast(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low) {
    ChooseCandidate(block, scratch, CompressBlockFastRounded, CompressBlockFastHue, BlockErrorRGB, high, low);
}

void CompressBlockFastPerceptual(const uint8_t* block, uint8_t* scratch, uint32_t& high, uint32_t& low) {
    ChooseCandidate(block, scratch, CompressBlockFastRoundedPerceptual, CompressBlockFastHuePerceptual,
                    BlockErrorPerceptual, high, low);
}
