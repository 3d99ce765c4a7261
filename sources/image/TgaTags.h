// The developer tags that follow the pixel data of a TGA file written with a
// texture format: the encoded texture of all levels and the settings that made it.
//
// Each tag is an 8-character name, a uint32 size (12 + payload) and the payload;
// tags follow one another with no gap, from "qx5t_tfm" to "qx5t_end", then
// "jx5t_cct" when a colour correction was applied. The file ends with the last tag.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "platform/Files.h"

namespace ImageLib {

// Writes the tag chain. `encoded` is the image that EncodeTexture encoded (its
// mip fields give the level count and level-0 size of `textureData`); `given` is
// the image handed to the writer, which the grey, palette and index tags describe.
// Writes nothing and succeeds when no texture format is requested; fails on
// missing texture data, an empty texture, or any write that fails.
bool WriteTags(const CImage& encoded, const CImage& given, Platform::FileHandle file, const ImageOptions* options,
               const uint8_t* textureData);

// "qx5t_psh" and the psh tags inside it.
bool WritePshTag(const CImage& encoded, const CImage& given, Platform::FileHandle file, const ImageOptions& options);

// The size of "qx5t_psh", header included: the sum of what WritePshTag writes.
// 0 when an index plane has no pixels or the size does not fit in int32.
int32_t GetPshTagSize(const CImage& encoded, const CImage& given, const ImageOptions& options);

}  // namespace ImageLib
