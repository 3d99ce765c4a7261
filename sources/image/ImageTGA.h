// CImageTGA: the image class of "TGA" files.
//
// The reader takes the 18-byte header, the colour map and the pixel data
// (raw or RLE) and yields a top-down L, RGB, RGBA or Indexed image; the image
// ID and anything after the pixel data are never read.
#pragma once

#include <cstdint>

#include "image/Image.h"

namespace ImageLib {

// The file header, unpacked field by field (stored little-endian).
struct TgaHeader {
    uint8_t idLength = 0;
    uint8_t colorMapType = 0;
    uint8_t imageType = 0;
    uint16_t colorMapFirst = 0;
    uint16_t colorMapLength = 0;
    uint8_t colorMapEntrySize = 0;
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelDepth = 0;
    uint8_t descriptor = 0;
};

inline constexpr int32_t kTgaHeaderSize = 18;

class CImageTGA : public CImage {
public:
    // Bytes of pixel data as the writer stores them: the RLE size of the own
    // pixels when the options ask for RLE, else the CImage size of the format.
    int32_t GetImageSize(int32_t format, const ImageOptions* options) const override;
    bool Read(Platform::FileHandle file) override;
    bool Load(const char* path) override { return LoadFromPath(path); }
    // Reads the header and the colour map and leaves the file at the pixel data.
    bool ReadHeader(Platform::FileHandle file) override;
    // Reads the pixel data from the current position; needs a successful ReadHeader.
    bool ReadBody(Platform::FileHandle file) override;
    bool Write(Platform::FileHandle file, const ImageOptions* options) override { return WriteImage(*this, file, options); }
    bool Save(const char* path, const ImageOptions* options) override { return SaveToPath(path, options); }

    // The writer of this kind; it runs on any image, whatever its class.
    static bool WriteImage(CImage& image, Platform::FileHandle file, const ImageOptions* options);

    // Fills `output` with exactly `expectedSize` bytes from the RLE packets
    // that start at the file's position; packets may run across rows.
    bool DecodeRle(Platform::FileHandle file, uint8_t* output, int32_t expectedSize) const;

    // Turns stored 16-bit pixels (rows and columns in the order the descriptor
    // gives) into this image's top-down RGB pixels, allocating them when missing.
    bool UnpackPixels16(const uint8_t* stored);
    // Puts pixels read as stored (8, 24 or 32 bits, the image's own width) into
    // top-down R,G,B(,A) order where they are.
    bool ArrangeStoredPixels();

    TgaHeader header;
};

}  // namespace ImageLib
