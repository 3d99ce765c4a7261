// The two halves of a 4x4 block and the two ways of measuring a colour error.
#pragma once

#include <cstdint>

#include "image/ETC1BlockFormat.h"

// Tall halves lie side by side (columns 0-1 and 2-3, flip bit 0); wide halves
// one above the other (rows 0-1 and 2-3, flip bit 1).
enum class HalfShape { Tall, Wide };

// Plain: sum of squared channel differences. Perceptual: the squares weighted
// 299, 587, 114 (the sums are in thousandths of the returned unit).
enum class ErrorMeasure { Plain, Perceptual };

inline constexpr int32_t kHalfPixels = 8;

// The eight pixels of one half, R, G, B each, in the order the searches visit them.
struct HalfPixels {
    int32_t pixel[kHalfPixels][3];
};

// first: the first column of a tall half or the first row of a wide half (0 or 2).
HalfPixels GatherHalf(const uint8_t* block, HalfShape shape, int32_t first);

using ImageLib::ETC1Format::Expand4;
using ImageLib::ETC1Format::Expand5;
