// The steps of the TGA writer, in the order CImageTGA::WriteImage runs them.
//
// The file is the 18-byte header, the 20-byte image ID (only when a texture
// format is requested), the colour map (Indexed only), the pixel data rows from
// the bottom up, raw or RLE, then either the developer tags (TgaTags.h) or, for
// a plain image, the 26-byte footer. Each step fails when any of its writes does.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "platform/Files.h"

namespace ImageLib {

// Options given and naming a texture format (below 15): the file then carries
// the image ID and the tags instead of the footer.
bool IsTextureFormatRequested(const ImageOptions* options);

// Bytes of pixel data as written: the RLE size of the image's own pixels when the
// options ask for RLE, whatever `format` says; else width x height x bytes per
// pixel of `format` (0: the image's own). 0 when the size does not fit in int32.
int32_t GetTgaPixelDataSize(const CImage& image, int32_t format, const ImageOptions* options);

// The header stores width and height in 16 bits each.
bool FitsTgaHeader(const CImage& image);

// Header, image ID and colour map. Fails, writing nothing, for an image format
// other than L, RGB, RGBA or Indexed, or sides that do not fit 16 bits.
bool WriteHeader(const CImage& image, Platform::FileHandle file, const ImageOptions* options);
// Pixel data: rows from the bottom up, B, G, R(, A) order, raw or RLE.
bool WritePixels(const CImage& image, Platform::FileHandle file, const ImageOptions* options);
// The footer of a plain image; nothing when a texture format is requested.
bool WriteFooter(Platform::FileHandle file, const ImageOptions* options);

}  // namespace ImageLib
