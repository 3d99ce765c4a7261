#include "etc1/CompressBlockSlow.h"

#include "etc1/BlockSearch.h"

void CompressBlockSlow(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Plain, kSlowRules, HalfSweep(), highWord, lowWord);
}

void CompressBlockSlowPerceptual(const uint8_t* block, uint32_t& highWord, uint32_t& lowWord) {
    SearchBlock(block, ErrorMeasure::Perceptual, kSlowRules, HalfSweep(), highWord, lowWord);
}
