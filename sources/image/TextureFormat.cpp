#include "image/TextureFormat.h"

#include <cstring>

#include "image/Image.h"
#include "image/SizeMath.h"

namespace ImageLib {
namespace {

constexpr std::array<int32_t, kTextureFormatCount> kBitsPerPixel = {4, 8, 4, 8, 8, 16, 16, 16, 24, 16, 16, 32, 4, 8};

constexpr std::array<int32_t, kTextureFormatCount> kDecodedImageFormat = {
    L, L, LA, LA, LA, LA, RGB, RGB, RGB, RGBA, RGBA, RGBA, RGB, RGBA,
};

bool IsTextureFormat(int32_t format) { return format >= 0 && format < kTextureFormatCount; }

}  // namespace

const char* GetTextureFormatName(int32_t format) {
    return IsTextureFormat(format) ? FormatNameTable[format] : nullptr;
}

const char* GetColorCorrectionName(int32_t correction) {
    return correction >= 0 && correction < kColorCorrectionCount ? ColorCorrectionNameTable[correction] : nullptr;
}

int32_t FindTextureFormat(const char* name) {
    if (name == nullptr) return INVALID;
    for (int32_t format = 0; format < kTextureFormatCount; ++format) {
        if (std::strcmp(name, FormatNameTable[format]) == 0) return format;
    }
    return INVALID;
}

int32_t GetTextureDataSize(int32_t width, int32_t height, int32_t levels, int32_t format) {
    if (!IsTextureFormat(format) || width < 1 || height < 1) return 0;
    int64_t pixels = 0;
    for (int32_t level = 0; level < levels && width > 0 && height > 0; ++level) {
        pixels += static_cast<int64_t>(width) * height;
        // Every format takes at least half a byte per pixel.
        if (pixels > 2 * kMaxByteCount) return 0;
        width /= 2;
        height /= 2;
    }
    int64_t bytes = pixels * kBitsPerPixel[format] / 8;
    return bytes <= kMaxByteCount ? static_cast<int32_t>(bytes) : 0;
}

int32_t GetImageFormatOf(int32_t format) { return IsTextureFormat(format) ? kDecodedImageFormat[format] : None; }

}  // namespace ImageLib
