// Texture formats: the names stored in files, the size of texture data, and the
// pixel layout that each format decodes to.
//
// Texture data of a mip chain holds level 0 first and each smaller level right
// after the one before, with no padding or header. Every level is stored in 8x8
// tiles (TextureTiles.h), so its sides are whole multiples of 8.
#pragma once

#include <array>
#include <cstdint>

#include "image/ImageOptions.h"

namespace ImageLib {

// The names written into VOQ headers, FENK attributes and TGA tags, by
// TextureFormat, followed by a null entry.
inline constexpr std::array<const char*, kTextureFormatCount + 1> FormatNameTable = {
    "L4",     "L8",   "A4",      "A8",    "La4",   "La8",  "Hilo8",   "Rgb565",
    "Rgb8",   "Rgb5_a1", "Rgba4", "Rgba8", "Etc1", "Etc1_a4", nullptr,
};

// The ColorCorrection names written into FENK attributes and TGA tags, followed
// by a null entry.
inline constexpr std::array<const char*, kColorCorrectionCount + 1> ColorCorrectionNameTable = {
    "NONE", "VOQ_TOP", "VOQ_BTM", "VOQ_AVG", "VOQ_INV_TOP", "VOQ_INV_BTM", "VOQ_INV_AVG", nullptr,
};

// The stored name of a format 0 to 13; null for any other value.
const char* GetTextureFormatName(int32_t format);
// The name of a colour correction 0 to 6; null for any other value.
const char* GetColorCorrectionName(int32_t correction);
// The format whose stored name equals `name` exactly (case-sensitive), or INVALID.
int32_t FindTextureFormat(const char* name);

// Bytes of texture data of `levels` levels starting at width x height, each level
// halving both sides (truncating). 0 for an unknown format, no levels, a side
// below 1, or a size that does not fit in int32.
int32_t GetTextureDataSize(int32_t width, int32_t height, int32_t levels, int32_t format);
// The ImageFormat that holds the format's decoded pixels; None for any other value.
int32_t GetImageFormatOf(int32_t format);

}  // namespace ImageLib
