// The two implementations behind the modifier searches: a portable one that
// follows the row-by-row procedure with early abandonment, and a vectorised one
// that evaluates all eight rows at once and then applies the same acceptance
// rules. Both give identical results; ModifierSearch.h picks one per processor.
#pragma once

#include <cstdint>

namespace ModifierSearchPortable {

int32_t Tall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound);
int32_t Wide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound);
uint32_t TallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                        uint32_t& lsb, uint32_t bound);
int32_t WidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                       uint32_t& lsb, double bound);

}  // namespace ModifierSearchPortable

namespace ModifierSearchSimd {

// True when the processor runs the vectorised kernel (AVX2).
bool Available();

int32_t Tall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound);
int32_t Wide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb, uint32_t& lsb,
             int32_t bound);
uint32_t TallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                        uint32_t& lsb, uint32_t bound);
int32_t WidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                       uint32_t& lsb, double bound);

}  // namespace ModifierSearchSimd
