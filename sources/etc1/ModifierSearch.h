// The modifier search over one half of a 4x4 RGB block.
//
// Given a half and its base colour, every row of the modifier table is tried;
// each pixel takes the slot of the row whose candidate colour (base plus the
// slot's modifier, clamped to 0..255) is nearest, and the row with the smallest
// total error wins. On equal pixel errors the lower slot wins; on equal row
// errors the earlier row stays. A search writes its three outputs only when some
// row's error is strictly below the bound; otherwise the outputs keep what they
// held and the result is the bound.
//
// Index planes come back relative to the half: a tall half (first column c) puts
// the pixel in column x, row y at bit 4 (x - c) + y; a wide half (first row r) at
// bit 4x + (y - r). The high bit of a pixel's two-bit index goes to `msb`, the
// low bit to `lsb`.
//
// Errors: plain is the sum of dR^2 + dG^2 + dB^2; perceptual is the sum of
// 299 dR^2 + 587 dG^2 + 114 dB^2 (internal units) divided by 1000.
#pragma once

#include <cstdint>

// Plain error of the tall half at `column` (0 or 2) against `base` (R, G, B).
int32_t ModifierSearchTall(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound);

// Plain error of the wide half at `firstRow` (0 or 2).
int32_t ModifierSearchWide(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row, uint32_t& msb,
                           uint32_t& lsb, int32_t bound);

// Perceptual error of a tall half: the best internal sum divided by 1000, the
// remainder dropped. The bound (perceptual units) must not exceed 4,294,967.
uint32_t ModifierSearchTallPerceptual(const uint8_t* block, int32_t column, const uint8_t* base, int32_t& row,
                                      uint32_t& msb, uint32_t& lsb, uint32_t bound);

// Perceptual error of a wide half. Rows are compared through single-precision
// values, so a row only slightly better than the best so far can be given up
// (see TryModifierRowWidePerceptual); the result is the best truncated to int32.
int32_t ModifierSearchWidePerceptual(const uint8_t* block, int32_t firstRow, const uint8_t* base, int32_t& row,
                                     uint32_t& msb, uint32_t& lsb, double bound);

// One row against eight tall-half pixels (int32 R, G, B in visiting order: the
// first column top to bottom, then the second). Returns the internal sum with
// planes in bits 0..7; a row whose running sum exceeds `bound` is given up: the
// result is then above `bound` and the planes are not written.
uint32_t TryModifierRowTallPerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                                      uint32_t& lsb, uint32_t bound);

// One row against eight wide-half pixels (visiting order: column by column, the
// upper pixel first). The row is given up as soon as its running sum reaches
// trunc(bound x 1000); the result is then FLT_MAX and nothing is written.
// Otherwise it returns the sum / 1000 as a float, planes at bits 0, 1, 4, 5, 8, 9, 12, 13.
float TryModifierRowWidePerceptual(const int32_t pixels[8][3], const int32_t base[3], int32_t row, uint32_t& msb,
                                   uint32_t& lsb, float bound);
