// Plain per-pixel walks over texture data, written as directly as the layout
// reads, one stored position at a time through the bounds-checked GetPixel and
// SetPixel. The tests hold the tuned codecs to them byte for byte.
#pragma once

#include <cstdint>

namespace TextureReference {

// The pixel of stored position n in a level of the given width.
void TilePosition(int32_t n, int32_t width, int32_t& x, int32_t& y);

// One level of a format 0 to 11, RGBA8 source pixels into texture data.
void EncodeLevel(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);

// One level of a format 0 to 13 into pixels of the decoded image format.
void DecodeLevel(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);

}  // namespace TextureReference
