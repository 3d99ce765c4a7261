#include "plugin/PreviewPicture.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "image/MipChain.h"
#include "image/SizeMath.h"

namespace FormatPlugin {

using namespace ImageLib;

namespace {

// The level's pixels in `layout` (RGB or RGBA), or empty when there are none to show.
std::vector<uint8_t> LevelPixels(const CImage* image, int32_t level, int32_t layout) {
    if (image == nullptr || level < 0 || level >= kMaxMipLevels) return {};
    if (image->mipWidth[level] < 1 || image->mipHeight[level] < 1) return {};
    const int32_t size = image->GetMipImageSize(level, layout);
    if (size < 1) return {};
    std::vector<uint8_t> pixels(static_cast<size_t>(size));
    if (!image->GetMipImage(pixels.data(), size, layout, level)) return {};
    return pixels;
}

// Runs `put(source pixel, picture pixel)` over every pixel of the level.
template <typename Put>
void CopyLevel(const CImage* image, int32_t level, int32_t layout, uint8_t* topLeft, ptrdiff_t rowStep, Put put) {
    const std::vector<uint8_t> pixels = LevelPixels(image, level, layout);
    if (pixels.empty()) return;
    const int32_t width = image->mipWidth[level];
    const int32_t height = image->mipHeight[level];
    const int32_t pixelBytes = GetBytesPerPixel(layout);
    const uint8_t* in = pixels.data();
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* out = topLeft + y * rowStep;
        for (int32_t x = 0; x < width; ++x, in += pixelBytes, out += 3) put(in, out);
    }
}

}  // namespace

int32_t PreviewLevelCount(const CImage& document, const ImageOptions& options) {
    return GetMipLevelCount(document.width, document.height, options.format, options.mipMode, options.mipLevels);
}

int32_t PreviewPictureWidth(const CImage& converted, int32_t levels) {
    int64_t width = 0;
    for (int32_t i = 0; i < std::min(levels, kMaxMipLevels); ++i) width += converted.mipWidth[i];
    return width <= kMaxByteCount ? static_cast<int32_t>(width) : 0;
}

int32_t PreviewStride(int32_t width) {
    const int64_t stride = (static_cast<int64_t>(width) * 3 + 3) / 4 * 4;
    return width > 0 && stride <= kMaxByteCount ? static_cast<int32_t>(stride) : 0;
}

void CopyLevelRGB(const CImage* image, int32_t level, uint8_t* topLeft, ptrdiff_t rowStep) {
    CopyLevel(image, level, RGB, topLeft, rowStep, [](const uint8_t* in, uint8_t* out) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    });
}

void CopyLevelAlpha(const CImage* image, int32_t level, uint8_t* topLeft, ptrdiff_t rowStep) {
    CopyLevel(image, level, RGBA, topLeft, rowStep, [](const uint8_t* in, uint8_t* out) {
        out[0] = out[1] = out[2] = in[3];
    });
}

void CopyLevelTinted(const CImage* image, int32_t level, uint8_t* topLeft, ptrdiff_t rowStep) {
    CopyLevel(image, level, RGBA, topLeft, rowStep, [](const uint8_t* in, uint8_t* out) {
        // t in double, then held in single precision; every product in single
        // precision. Red is the truncated sum, so that a transparent white pixel
        // shows full red (127.5 + 127.5) rather than 254.
        const float t = static_cast<float>(0.5 - (in[3] / 255.0) * 0.5);
        const float keep = 1.0f - t;
        const float red = static_cast<float>(in[0]) * keep + 255.0f * t;
        out[0] = static_cast<uint8_t>(std::trunc(static_cast<float>(in[2]) * keep));
        out[1] = static_cast<uint8_t>(std::trunc(static_cast<float>(in[1]) * keep));
        out[2] = static_cast<uint8_t>(std::trunc(red));
    });
}

std::vector<uint8_t> BuildPreviewPicture(const CImage& converted, int32_t width, int32_t height, int32_t levels,
                                         PreviewChannels channels) {
    const int32_t stride = PreviewStride(width);
    const int32_t size = CheckedProduct(stride, height);
    if (size < 1) return {};
    std::vector<uint8_t> picture;
    try {
        picture.assign(static_cast<size_t>(size), 0xFF);
    } catch (const std::bad_alloc&) {
        return {};
    }
    // Bottom-up: the picture's top row is the last one in memory.
    uint8_t* topRow = picture.data() + static_cast<size_t>(height - 1) * stride;
    int64_t column = 0;
    for (int32_t level = 0; level < levels && level < kMaxMipLevels; ++level) {
        if (converted.mipHeight[level] > height || column + converted.mipWidth[level] > width) break;
        uint8_t* topLeft = topRow + column * 3;
        if (channels.rgb && channels.alpha) {
            CopyLevelTinted(&converted, level, topLeft, -stride);
        } else if (channels.rgb) {
            CopyLevelRGB(&converted, level, topLeft, -stride);
        } else if (channels.alpha) {
            CopyLevelAlpha(&converted, level, topLeft, -stride);
        }
        column += converted.mipWidth[level];
    }
    return picture;
}

}  // namespace FormatPlugin
