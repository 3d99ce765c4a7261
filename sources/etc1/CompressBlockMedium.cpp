#include "etc1/CompressBlockMedium.h"

#include "etc1/BlockSearch.h"

void CompressBlockMedium(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Plain, kMediumRules, HalfSweep(), highWord, lowWord);
}

void CompressBlockMediumPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Perceptual, kMediumRules, HalfSweep(), highWord, lowWord);
}
