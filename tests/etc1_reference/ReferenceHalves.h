// What the reference compressors share: the half searches behind one call
// shape, the 5-bit rounding of an average, and the block words written field by field.
#pragma once

#include <cstdint>

namespace Etc1Reference {

enum class Halves { Tall, Wide };

// Runs the modifier search of the measure and half shape. `bound` is handed to
// the search in the type it takes (a double for the wide perceptual one).
int32_t SearchHalf(bool perceptual, Halves halves, const uint8_t* block, int32_t first, const int32_t colour[3],
                   int32_t& row, uint32_t& msb, uint32_t& lsb, int32_t bound);

// The halves' averages rounded to 5 bits, trunc(average x 31 / 255 + 0.5) in
// double precision, into q1 and q2; true when in every channel q2 - q1 lies
// within gateLow..gateHigh.
bool CentresWithinGate(const uint8_t* block, Halves halves, int32_t gateLow, int32_t gateHigh, int32_t q1[3],
                       int32_t q2[3]);

int32_t Expand5Bits(int32_t code);
int32_t Expand4Bits(int32_t code);

// A candidate block: its error and its two words.
struct BlockCandidate {
    int32_t error;
    uint32_t high;
    uint32_t low;
};

// Runs the final search of each half with its chosen colour (5-bit codes in
// differential mode, 4-bit otherwise) and the method's fixed bound, and writes the words.
BlockCandidate FinalWords(bool perceptual, Halves halves, const uint8_t* block, bool differential,
                          const int32_t c1[3], const int32_t c2[3], int32_t error);

// The individual mode: each half's first 4-bit colour (0 to 14 per channel, R
// outermost) of least error, from a best of 1,560,600. With `runningBound` every
// search gets the best so far as its bound; otherwise plain searches get 3,121,200
// and perceptual ones the best so far.
BlockCandidate Individual(bool perceptual, Halves halves, const uint8_t* block, bool runningBound);

uint32_t DifferentialHigh(const int32_t c1[3], const int32_t c2[3], int32_t t1, int32_t t2, Halves halves);
uint32_t IndividualHigh(const int32_t c1[3], const int32_t c2[3], int32_t t1, int32_t t2, Halves halves);
uint32_t LowFromPlanes(uint32_t m1, uint32_t l1, uint32_t m2, uint32_t l2, Halves halves);

}  // namespace Etc1Reference
