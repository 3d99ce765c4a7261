// Mip chains: how many levels an image gets, the padded size of level 0, and
// building the chain in each MipMode.
//
// Level 0 is the image padded to power-of-two sides of at least the format's
// minimum side (16 for ETC1, 8 for every other format) by repeating its last
// column and last row. Every level the chain holds is a whole number of 8x8
// tiles.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace ImageLib {

// The largest level count the size allows in the mode: 1 for NoMipMap, and for
// sides that are not already powers of two of at least the minimum side; 0
// when GenerateMipMap would allow more than 10. UseMipMap counts by the width
// alone, without an upper limit.
int32_t GetMaxMipLevels(int32_t width, int32_t height, int32_t format, int32_t mode);
// The level count to build: `requested` when GenerateMipMap (or any mode but
// NoMipMap and UseMipMap) is asked for 1 up to the maximum, else the maximum.
int32_t GetMipLevelCount(int32_t width, int32_t height, int32_t format, int32_t mode, int32_t requested);
// The level-0 width: for UseMipMap the largest power-of-two multiple of the
// minimum side that fits in the width (the minimum side for narrower images),
// else the smallest one that holds it. 0 when that does not fit in int32.
int32_t GetPaddedWidth(int32_t width, int32_t format, int32_t mode);
// The level-0 height: the smallest power-of-two multiple of the minimum side
// that holds the height; 0 when that does not fit in int32.
int32_t GetPaddedHeight(int32_t height, int32_t format);

// Gives the image a fresh chain (replacing any it had) by options->format,
// mipMode and mipLevels, filled from its pixels; its pixels, width and height
// stay as they are. With UseMipMap only the levels at least 8 high are kept.
// False for a missing image or options, an Indexed image or one without
// pixels, or a level count or size the image cannot hold.
bool BuildMipChain(CImage* image, const ImageOptions* options);

}  // namespace ImageLib
