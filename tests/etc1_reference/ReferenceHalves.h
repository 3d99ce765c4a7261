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

// The averages of the first and the second half.
void HalfAverages(const uint8_t* block, Halves halves, float first[3], float second[3]);

// trunc(average x 31 / 255 + 0.5) in double precision.
int32_t RoundTo5Bits(float average);

int32_t Expand5Bits(int32_t code);
int32_t Expand4Bits(int32_t code);

uint32_t DifferentialHigh(const int32_t c1[3], const int32_t c2[3], int32_t t1, int32_t t2, Halves halves);
uint32_t IndividualHigh(const int32_t c1[3], const int32_t c2[3], int32_t t1, int32_t t2, Halves halves);
uint32_t LowFromPlanes(uint32_t m1, uint32_t l1, uint32_t m2, uint32_t l2, Halves halves);

}  // namespace Etc1Reference
