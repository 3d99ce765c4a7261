// CImage: the in-memory image of the whole system.
//
// A base image in one of five pixel layouts (ImageFormat), an optional palette
// of RGB triples and an optional chain of up to nine mip levels. The image owns
// its three buffers: they are allocated by its own operations, start
// zero-filled, and are freed by Clear and the destructor. Other code may read
// and write their contents but never frees them. The palette buffer always holds
// 256 entries, so an index past paletteCount reads black, never past the buffer. Pixel (x, y) starts at byte
// (y * width + x) * bytes per pixel; mip levels follow one another from level 0.
//
// CImageTGA, CImageVOQ and CImageFENK fill the virtual interface; CreateImageFromFile
// returns a new image that its caller deletes through the virtual destructor.
#pragma once

#include <cstdint>
#include <memory>

#include "image/ImageOptions.h"
#include "platform/Files.h"

namespace ImageLib {

enum ImageFormat : int32_t {
    None = 0,
    L = 1,
    LA = 2,
    RGB = 3,
    RGBA = 4,
    Indexed = 5,
};

inline constexpr int32_t kMaxMipLevels = 9;
inline constexpr int32_t kMaxPaletteCount = 256;

// Frees what AllocateBytes gave.
struct ByteBufferRelease {
    void operator()(uint8_t* bytes) const;
};
using ByteBuffer = std::unique_ptr<uint8_t[], ByteBufferRelease>;

// Whether a new buffer starts zero-filled. Unfilled is only for a buffer whose
// every byte is written before anything reads it: the zeroing would be pure cost.
enum class BufferFill { Zeroed, Unfilled };

// A buffer of `size` bytes, or null when `size` is below 1 or memory is short.
ByteBuffer AllocateBytes(int64_t size, BufferFill fill = BufferFill::Zeroed);

class CImage {
public:
    CImage() = default;
    virtual ~CImage() = default;
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Virtual interface, in slot order.
    virtual int32_t GetImageSize(int32_t format, const ImageOptions* options) const;
    virtual bool Read(Platform::FileHandle file);
    virtual bool Load(const char* path);
    virtual bool ReadHeader(Platform::FileHandle file);
    virtual bool LoadHeader(const char* path);
    virtual bool ReadBody(Platform::FileHandle file);
    virtual bool Write(Platform::FileHandle file, const ImageOptions* options);
    virtual bool Save(const char* path, const ImageOptions* options);

    void Clear();
    bool SetInfo(int32_t format, int32_t width, int32_t height, int32_t paletteCount, int32_t mipLevels,
                 int32_t mipWidth0, int32_t mipHeight0);
    bool Create(int32_t format, int32_t width, int32_t height, int32_t paletteCount, int32_t mipLevels,
                int32_t mipWidth0, int32_t mipHeight0);
    bool AllocateBuffers();
    bool AllocatePixels();
    bool AllocatePalette();
    bool SetMipLevels(int32_t levelCount, int32_t mipWidth0, int32_t mipHeight0);
    bool AllocateMipChain();

    // Makes this image a copy of `source` converted to `format` (0, Indexed or the
    // source's own: a plain copy). Failures inside leave the image partly filled.
    void CopyFrom(const CImage& source, int32_t format);
    bool GetPixels(uint8_t* destination, int32_t size, int32_t format) const;
    // One level, or all levels one after the other when `level` is below 0.
    bool GetMipImage(uint8_t* destination, int32_t size, int32_t format, int32_t level) const;
    int32_t GetMipImageSize(int32_t level, int32_t format) const;

    int32_t format = None;
    int32_t width = 0;
    int32_t height = 0;
    int32_t paletteCount = 0;
    int32_t mipLevels = 0;
    int32_t mipWidth[kMaxMipLevels] = {};
    int32_t mipHeight[kMaxMipLevels] = {};
    ByteBuffer pixels;
    ByteBuffer palette;
    ByteBuffer mipChain;

protected:
    // The shared path forms that the subclasses put in their Load, LoadHeader and Save slots.
    bool LoadFromPath(const char* path);
    bool LoadHeaderFromPath(const char* path);
    bool SaveToPath(const char* path, const ImageOptions* options);

private:
    int32_t MipLevelOffset(int32_t level) const;
};

int32_t GetBytesPerPixel(int32_t format);
// Bytes of a width x height buffer in the format; 0 when it would not fit in int32.
int32_t GetImageByteSize(int32_t format, int32_t width, int32_t height);
// Converts width x height pixels between layouts. An Indexed source needs a
// palette of all 256 entries: indices beyond the used ones read as black.
bool ConvertPixels(int32_t sourceFormat, int32_t destinationFormat, const uint8_t* source, uint8_t* destination,
                   const uint8_t* palette, int32_t width, int32_t height);
bool GetPixel(int32_t format, const uint8_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y,
              uint8_t* output);
bool SetPixel(int32_t format, uint8_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y,
              const uint8_t* input);

}  // namespace ImageLib
