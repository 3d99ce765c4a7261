// The candidate blocks of the Fast methods: base colours straight from the half
// averages, no search over colours. Each builder codes the block once with
// side-by-side halves and once with stacked halves and returns the orientation
// with the smaller error (side by side on equal errors). The results are the
// ETC1 block's high word (colours, codewords, diff and flip bits) and low word
// (index planes).
#pragma once

#include <cstdint>

#include "etc1/ETC1FastQuantizers.h"
#include "etc1/ETC1HalfBlock.h"

namespace ETC1Encoder {

using FastMeasure = ErrorMeasure;

// Base colours by the rounding rule, plain error.
void CompressBlockFastRounded(const uint8_t* block, uint32_t& high, uint32_t& low);
// Base colours by the hue quantisers, plain error.
void CompressBlockFastHue(const uint8_t* block, uint32_t& high, uint32_t& low);
// Base colours by the rounding rule, perceptual error.
void CompressBlockFastRoundedPerceptual(const uint8_t* block, uint32_t& high, uint32_t& low);
// Base colours by the perceptual hue quantisers, perceptual error.
void CompressBlockFastHuePerceptual(const uint8_t* block, uint32_t& high, uint32_t& low);

// How a candidate quantises the half averages into base colours.
enum class FastColours { Rounded, Hue, HuePerceptual };

// A candidate up to its index planes, which only the candidates whose words are
// wanted need (FastLowWord).
struct FastCandidate {
    uint32_t high;
    // The chosen orientation's two half errors added up, as the searches return
    // them. For the plain measure this is exactly the plain error of the block
    // against the candidate's decoding.
    int32_t error;
    // The exact error of the block against the candidate's decoding: plain, or
    // perceptual in thousandths.
    uint32_t internal;
    PackedColour base[2];  // the 8-bit base colours of sub-blocks 1 and 2
};

// Both candidates of a Fast method, the first by the rounding rule. Each half is
// read once for the base colours of both candidates.
struct FastCandidatePair {
    FastCandidate first;
    FastCandidate second;
};

FastCandidatePair BuildFastCandidates(const uint8_t* block, FastMeasure measure, FastColours secondColours);

// One candidate alone.
FastCandidate BuildFastCandidate(const uint8_t* block, FastMeasure measure, FastColours colours);

// The candidate's low word. Candidates with equal high words have equal low words.
uint32_t FastLowWord(const uint8_t* block, FastMeasure measure, const FastCandidate& candidate);

}  // namespace ETC1Encoder
