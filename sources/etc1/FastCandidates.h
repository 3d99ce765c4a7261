// The candidate blocks of the Fast methods: base colours straight from the half
// averages, no search over colours. Each builder codes the block once with
// side-by-side halves and once with stacked halves and returns the orientation
// with the smaller error (side by side on equal errors). The results are the
// ETC1 block's high word (colours, codewords, diff and flip bits) and low word
// (index planes).
#pragma once

#include <cstdint>

#include "etc1/FastHalfSearches.h"

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

struct FastCandidate {
    uint32_t high;
    uint32_t low;
    // The chosen orientation's two half errors added up. For plain searches this
    // is exactly the plain error of the block against the candidate's decoding.
    int32_t error;
    // The exact error of the block against the candidate's decoding: plain, or
    // perceptual in thousandths.
    uint32_t internal;
};

// A candidate from the block's shared half searches (whose measure it uses),
// with the error it chose the orientation by.
FastCandidate BuildFastCandidate(FastHalfSearches& searches, FastColours colours);
