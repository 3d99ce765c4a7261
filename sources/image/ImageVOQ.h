// CImageVOQ: the image class of "VOQ" files.
//
// A VOQ file is a 16-byte header (format name, level-0 width and height, level
// count) followed by the texture data of all levels. A loaded image has the
// level-0 size, the image format that holds the decoded pixels, the decoded
// levels in its mip chain and level 0 again in its pixels.
#pragma once

#include <cstdint>

#include "image/Image.h"

namespace ImageLib {

// The header bytes as stored (multi-byte values little-endian in the file).
struct VoqHeader {
    char formatName[8] = {};  // the stored format name, zero-padded
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t mipLevels = 0;
    uint16_t reserved = 0;
};

inline constexpr int32_t kVoqHeaderSize = 16;

class CImageVOQ : public CImage {
public:
    bool Read(Platform::FileHandle file) override;
    bool Load(const char* path) override { return LoadFromPath(path); }
    // Reads the header at the file's position; refuses a header whose levels are
    // not all whole 8x8 tiles or whose buffers would not fit in int32.
    bool ReadHeader(Platform::FileHandle file) override;
    bool LoadHeader(const char* path) override { return LoadHeaderFromPath(path); }
    // Reads and decodes the texture data right after the header.
    bool ReadBody(Platform::FileHandle file) override;
    bool Write(Platform::FileHandle file, const ImageOptions* options) override { return WriteImage(*this, file, options); }
    bool Save(const char* path, const ImageOptions* options) override { return SaveToPath(path, options); }

    // The writer of this kind; it runs on any image, whatever its class. Needs
    // options; encodes the image (setting its mip chain) and fails, writing
    // nothing, when encoding fails or level 0 does not fit the header.
    static bool WriteImage(CImage& image, Platform::FileHandle file, const ImageOptions* options);

    VoqHeader header;
    int32_t textureFormat = INVALID;  // found from header.formatName
};

}  // namespace ImageLib
