// RLE encoding of TGA pixel data.
//
// A packet is a header byte h and pixel bytes: h 0 to 127 is a raw packet of
// h + 1 pixels, all stored; h 128 to 255 is a run of h - 127 equal pixels, stored
// once. Each row is encoded by itself, so no packet spans two rows, and pixel
// bytes are stored in TGA channel order (R, G, B, A become B, G, R, A).
#pragma once

#include <cstdint>

#include "image/Image.h"

namespace ImageLib {

// Bytes that EncodeRle produces for the image's pixels with its own bytes per
// pixel; 0 for an image without pixels or rows, or a size that does not fit in int32.
int32_t GetRleSize(const CImage& image);

// Encodes width x height pixels of `bytesPerPixel` bytes into `destination`,
// which must hold GetRleSize bytes. `bottomUp` takes the rows from the last to
// the first (TGA pixel data), else from the first to the last. Always true.
bool EncodeRle(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t bytesPerPixel,
               bool bottomUp);

// Encodes one row of `width` pixels; returns the position just past the bytes written.
uint8_t* EncodeRleRow(const uint8_t* row, uint8_t* destination, int32_t width, int32_t bytesPerPixel);

}  // namespace ImageLib
