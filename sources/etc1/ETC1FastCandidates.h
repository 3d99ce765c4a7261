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

// The per-block work the candidates share: the channel sums of the four halves,
// and the modifier search of each half for each base colour asked for. Both
// candidates of a Fast method often arrive at the same base colour for a half;
// a search is a pure function of the block, the half, the base and the bound,
// so the second request reuses the first result.
struct HalfSearchResult {
    int32_t error = 0;      // as the search returns it (perceptual: in thousands, rounded its own way)
    uint32_t internal = 0;  // the chosen row's exact error (perceptual: in thousandths)
    int32_t codeword = 0;
    uint32_t msb = 0;
    uint32_t lsb = 0;
};

class FastHalfSearches {
public:
    FastHalfSearches(const uint8_t* block, FastMeasure measure);

    // Channel sums over the eight pixels of half 0 (left or top) or 1 (right or bottom).
    const int32_t* Sums(bool flipped, int32_t half) const { return sums_[flipped][half]; }

    // The search of the half against the 8-bit base colour, with the bound above
    // every half's error (3,121,200 plain, 1,560,600 perceptual). The result
    // stays valid until the next search of the same half.
    const HalfSearchResult& Search(bool flipped, int32_t half, PackedColour base);

private:
    static constexpr uint32_t kNoBase = ~0u;

    struct Remembered {
        PackedColour base = kNoBase;
        HalfSearchResult result;
    };

    const uint8_t* block_;
    FastMeasure measure_;
    int32_t sums_[2][2][3];
    Remembered remembered_[2][2];  // orientation, half: the latest search
};

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

}  // namespace ETC1Encoder
