// CImageFENK: the image class of "FENK" files, UTF-8 XML texts that carry one
// texture: who made it, when and from what, and the encoded data of every mip
// level as Base64 text.
//
// The writer runs on any image and writes the file byte for byte in one fixed
// layout (order mark, CR LF line ends, tabs, attribute order). The reader takes
// the size, level count and format from the ImageTextureVoq start tag and the
// levels from the PixelBasedImageVoq elements, ignoring everything else.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace ImageLib {

class CImageFENK : public CImage {
public:
    // ReadHeader, then ReadBody when the header was read.
    bool Read(Platform::FileHandle file) override;
    bool Load(const char* path) override { return LoadFromPath(path); }
    // Size, level count and format; leaves the file at its start.
    bool ReadHeader(Platform::FileHandle file) override;
    // Decodes every level into the mip chain and level 0 into the pixels.
    bool ReadBody(Platform::FileHandle file) override;
    bool Write(Platform::FileHandle file, const ImageOptions* options) override { return WriteImage(*this, file, options); }
    bool Save(const char* path, const ImageOptions* options) override { return SaveToPath(path, options); }

    // The writer of this kind; it runs on any image, whatever its class. False
    // without options, when encoding fails, or when any write fails.
    static bool WriteImage(CImage& image, Platform::FileHandle file, const ImageOptions* options);

    // Decodes the texture data of all levels (level 0 first) into the mip chain.
    void DecodeLevels(const uint8_t* textureData);

    int32_t textureFormat = INVALID;  // TextureFormat, from the file's Format attribute
};

}  // namespace ImageLib
