// Exhaustive searches of one half's base colour over a box of colour codes, with
// the candidates' errors worked out sixteen at a time from per-channel tables.
// For each R code a first pass bounds every G code's errors from below (B left
// free per pixel and modifier); only G codes that may still win get their B codes tried.
//
// A candidate's error is what the half's modifier search would return for its
// expanded colour (SearchErrorFromRowSums). Candidates are ordered by their codes,
// R first, then G, then B, as the compressors' loops visit them; every result is
// the one those loops would reach, ties included.
#pragma once

#include <cstdint>

#include "etc1/ETC1HalfBlock.h"
#include "etc1/ETC1ModifierSearch.h"

namespace ETC1Encoder {

// Inclusive code ranges per channel, R, G, B.
struct CodeBox {
    int32_t low[3];
    int32_t high[3];
};

inline constexpr int32_t kMaxCodesPerChannel = 16;
inline constexpr int32_t kLanes = 16;
inline constexpr int32_t kErrorEntries = 256;  // 8 pixels x 8 table rows x 4 modifiers

// A candidate and its error; key -1 when nothing was found.
struct Candidate {
    int32_t error;
    int32_t key;
};

inline constexpr int32_t CandidateKey(int32_t red, int32_t green, int32_t blue) {
    return red << 10 | green << 5 | blue;
}
inline constexpr int32_t KeyCode(int32_t key, int32_t channel) { return key >> (10 - 5 * channel) & 31; }

// What the halves take from one quarter of the block (2 x 2 pixels, in the
// order (x, y), (x, y + 1), (x + 1, y), (x + 1, y + 1)), worked out once for
// both halves that hold it (a tall and a wide one). For one measure and code
// width: per R and per G code, that channel's errors of each entry. For the
// G and B codes of a box besides: the least G and B errors of each entry, and
// per R code and table row the quarter's part of a row bound (HalfTables::rowBounds).
inline constexpr int32_t kQuarterPixels = 4;
inline constexpr int32_t kQuarterEntries = kErrorEntries / 2;
inline constexpr int32_t kCodes = 32;

struct alignas(64) QuarterTables {
    int32_t pixels[kQuarterPixels][3];
    ErrorMeasure measure;
    int32_t bits;
    uint32_t builtRed;    // bit c: red[c] is filled
    uint32_t builtGreen;  // bit c: green[c] is filled
    bool othersKnown;     // others and smallestBlue hold the G and B codes below
    int32_t low[2];       // G, B
    int32_t high[2];
    uint32_t builtSums;   // bit c: rowSums[c] is filled, for these G and B codes
    alignas(64) uint32_t others[kQuarterEntries];  // least G plus least B error
    alignas(64) uint32_t smallestBlue[kQuarterEntries];
    alignas(64) uint32_t red[kCodes * kQuarterEntries];  // code c's from entry c * kQuarterEntries
    alignas(64) uint32_t green[kCodes * kQuarterEntries];
    alignas(64) uint32_t rowSums[kCodes][kTableRows];
};

// The quarters of one block: top left, top right, bottom left, bottom right.
struct BlockQuarters {
    QuarterTables quarter[4];
};

// Empties the quarters for a new block.
void ForgetQuarters(BlockQuarters& quarters);

// Errors of one half for every code of a box, one per pixel, table row and
// modifier.
// - In the two quarters of its block (parts): the R errors of each code of the
//   box (pixel n's of code c from pixelRed[n] + c * kQuarterEntries), the least
//   B errors (pixelBlue), and the G errors per G code (pixelGreen), filled when first needed.
// - Its own: lanes, the box's G codes in the lanes of lanes[0] and its B codes
//   in the lanes of lanes[blueTable] from lane blueLane on (G and B share
//   lanes[0] when both have at most 8 codes), each table row filled when first
//   needed; rowBounds, per R code and table row a sum that no candidate with
//   that R code gets below in that row (G and B left free per pixel and
//   modifier); lowest, the least of them.
struct alignas(64) HalfTables {
    ErrorMeasure measure;
    HalfShape shape;
    int32_t bits;  // 5 or 4: how codes expand to colours
    CodeBox box;
    HalfPixels pixels;          // in the order the tables hold them
    uint32_t weights[3];        // of the channels' squared differences
    uint32_t builtGreen;        // bit c: both quarters hold G code c
    uint32_t builtLaneRows[2];  // bit q: table row q of lanes[n] is filled
    int32_t blueTable;
    int32_t blueLane;
    uint32_t lowest;
    QuarterTables* parts[2];
    const uint32_t* pixelRed[kHalfPixels];  // pixel n's entries in its quarter's tables (code 0)
    const uint32_t* pixelGreen[kHalfPixels];
    const uint32_t* pixelBlue[kHalfPixels];
    int32_t laneColours[2][kLanes];        // the colour, channel and weight of each lane
    int32_t laneChannels[2][kLanes];
    uint32_t laneWeights[2][kLanes];
    alignas(64) uint32_t lanes[2][kErrorEntries][kLanes];
    alignas(64) uint32_t rowBounds[kMaxCodesPerChannel][kTableRows];
};

// No candidate of the prepared box has a smaller error.
inline int32_t LeastError(const HalfTables& tables) { return LeastSearchError(tables.measure, tables.lowest); }

struct ColourSearchKernel {
    // Fills the per-channel tables of `half`, the one at column (tall) or row
    // (wide) `first` of its block, for every code of `box` (at most 16 per
    // channel), from and into the block's quarters.
    void (*prepare)(HalfTables& tables, BlockQuarters& quarters, const HalfPixels& half, int32_t first,
                    ErrorMeasure measure, HalfShape shape, int32_t bits, const CodeBox& box);
    // The `lowest` that `prepare` over `box` would give each half of `block`
    // (48 bytes): tall at column 0 and 2, then wide at row 0 and 2; `scratch` is left undefined.
    void (*halfLowests)(HalfTables& scratch, const uint8_t* block, ErrorMeasure measure, int32_t bits,
                        const CodeBox& box, uint32_t lowest[4]);
    // For each half, no more than halfLowests gives it, for a fraction of the work.
    void (*halfLowerBounds)(HalfTables& scratch, const uint8_t* block, ErrorMeasure measure, int32_t bits,
                            const CodeBox& box, uint32_t bounds[4]);
    // The first candidate of `part` (inside the prepared box) with the smallest
    // error below `cutoff`; key -1 and error `cutoff` when none lies below it.
    // The sweep starts at `seed` (clamped into `part`), a guess that prunes the rest.
    Candidate (*findFirstBest)(HalfTables& tables, const CodeBox& part, int32_t cutoff, const int32_t seed[3]);
    // Every candidate of `part` with an error below `limit`, in candidate order; returns the count.
    int32_t (*collectBelow)(HalfTables& tables, const CodeBox& part, int32_t limit, Candidate* found);
};

// The searches come in builds for several instruction sets; all give the same results.
enum class InstructionSet { Avx512, Avx2, AnyProcessor };
bool ColourSearchAvailable(InstructionSet set);
const ColourSearchKernel& ColourSearchFor(InstructionSet set);

// The fastest build the processor runs, picked once.
const ColourSearchKernel& FastestColourSearch();

}  // namespace ETC1Encoder
