#include "image/MipChain.h"

#include <algorithm>
#include <cstring>

#include "image/SizeMath.h"
#include "image/TextureTiles.h"

namespace ImageLib {
namespace {

// Levels in a chain of GenerateMipMap beyond which the size allows none.
constexpr int32_t kMaxGeneratedLevels = 10;

int32_t MinimumSide(int32_t format) { return format == ETC1 ? 16 : 8; }

// The smallest minimum * 2^k (k >= 0) not smaller than `side`; 0 beyond int32.
int32_t PadUp(int32_t side, int32_t minimum) {
    int64_t padded = minimum;
    while (padded < side) padded *= 2;
    return padded <= kMaxByteCount ? static_cast<int32_t>(padded) : 0;
}

// The count of UseMipMap levels W0, W0 / 2, ... down to the minimum side whose
// widths, laid side by side, fit in the image width.
int32_t StripLevels(int32_t width, int32_t format) {
    const int32_t minimum = MinimumSide(format);
    const int64_t first = GetPaddedWidth(width, format, UseMipMap);
    if (first / 2 < minimum) return 1;
    int32_t count = 1;
    int64_t total = first;
    for (int64_t level = first / 2; level >= minimum && total + level <= width; level /= 2) {
        total += level;
        ++count;
    }
    return count;
}

int32_t GeneratedLevels(int32_t width, int32_t height, int32_t format) {
    const int32_t minimum = MinimumSide(format);
    const int32_t paddedWidth = GetPaddedWidth(width, format, GenerateMipMap);
    const int32_t paddedHeight = GetPaddedHeight(height, format);
    int32_t side = std::min(paddedWidth, paddedHeight);
    if (paddedWidth != width || paddedHeight != height || side <= minimum) return 1;
    int32_t count = 1;
    while (side > minimum) {
        side /= 2;
        if (++count > kMaxGeneratedLevels) return 0;
    }
    return count;
}

// Copies the w x h region of the image whose top-left pixel is (left, 0) into
// `level`; columns past the image's right edge repeat its last column, rows
// past its bottom repeat its last row.
void CopyRegion(const CImage& image, int32_t left, int32_t w, int32_t h, uint8_t* level) {
    const size_t pixelBytes = static_cast<size_t>(GetBytesPerPixel(image.format));
    const size_t rowBytes = static_cast<size_t>(w) * pixelBytes;
    const int32_t inside = std::clamp(image.width - left, 1, w);
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* out = level + static_cast<size_t>(y) * rowBytes;
        if (y >= image.height) {
            std::memcpy(out, out - rowBytes, rowBytes);
            continue;
        }
        const uint8_t* in = image.pixels.get() + (static_cast<size_t>(y) * image.width + left) * pixelBytes;
        std::memcpy(out, in, inside * pixelBytes);
        const uint8_t* last = in + (inside - 1) * pixelBytes;
        for (int32_t x = inside; x < w; ++x) std::memcpy(out + x * pixelBytes, last, pixelBytes);
    }
}

// Each byte of output pixel (x, y) is the truncated mean of that byte of the
// 2 x 2 input pixels from (2x, 2y).
void BoxFilter(const uint8_t* in, int32_t inWidth, uint8_t* out, int32_t w, int32_t h, int32_t pixelBytes) {
    const size_t inRow = static_cast<size_t>(inWidth) * pixelBytes;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* top = in + 2 * static_cast<size_t>(y) * inRow;
        const uint8_t* bottom = top + inRow;
        for (int32_t x = 0; x < w; ++x, top += 2 * pixelBytes, bottom += 2 * pixelBytes) {
            for (int32_t c = 0; c < pixelBytes; ++c, ++out) {
                *out = static_cast<uint8_t>((top[c] + top[c + pixelBytes] + bottom[c] + bottom[c + pixelBytes]) >> 2);
            }
        }
    }
}

// With UseMipMap the heights halve with no lower bound of their own: only the
// levels at least a tile high are kept, so every level is whole tiles.
int32_t LevelsAtLeastATileHigh(int32_t levels, int32_t height0) {
    while (levels > 1 && (height0 >> (levels - 1)) < kTileSide) --levels;
    return levels;
}

}  // namespace

int32_t GetPaddedHeight(int32_t height, int32_t format) { return PadUp(height, MinimumSide(format)); }

int32_t GetPaddedWidth(int32_t width, int32_t format, int32_t mode) {
    const int32_t minimum = MinimumSide(format);
    if (mode != UseMipMap) return PadUp(width, minimum);
    int64_t padded = minimum;
    while (padded * 2 <= width) padded *= 2;
    return static_cast<int32_t>(padded);
}

int32_t GetMaxMipLevels(int32_t width, int32_t height, int32_t format, int32_t mode) {
    if (mode == NoMipMap) return 1;
    if (mode == UseMipMap) return StripLevels(width, format);
    return GeneratedLevels(width, height, format);
}

int32_t GetMipLevelCount(int32_t width, int32_t height, int32_t format, int32_t mode, int32_t requested) {
    if (mode == NoMipMap) return 1;
    const int32_t maximum = GetMaxMipLevels(width, height, format, mode);
    if (mode == UseMipMap) return maximum;
    return requested >= 1 && requested <= maximum ? requested : maximum;
}

bool BuildMipChain(CImage* image, const ImageOptions* options) {
    if (image == nullptr || options == nullptr || image->format == Indexed || !image->pixels) return false;
    const int32_t pixelBytes = GetBytesPerPixel(image->format);
    if (pixelBytes == 0) return false;
    const int32_t mode = options->mipMode;
    const int32_t width0 = GetPaddedWidth(image->width, options->format, mode);
    const int32_t height0 = GetPaddedHeight(image->height, options->format);
    int32_t levels = GetMipLevelCount(image->width, image->height, options->format, mode, options->mipLevels);
    if (mode == UseMipMap) levels = LevelsAtLeastATileHigh(levels, height0);
    if (!image->SetMipLevels(levels, width0, height0) || !image->mipChain) return false;

    uint8_t* level = image->mipChain.get();
    CopyRegion(*image, 0, width0, height0, level);
    int32_t left = 0;
    for (int32_t i = 1; i < levels; ++i) {
        const int32_t w = image->mipWidth[i];
        const int32_t h = image->mipHeight[i];
        uint8_t* next = level + static_cast<size_t>(GetImageByteSize(image->format, image->mipWidth[i - 1],
                                                                     image->mipHeight[i - 1]));
        if (mode == UseMipMap) {
            left += image->mipWidth[i - 1];
            CopyRegion(*image, left, w, h, next);
        } else {
            BoxFilter(level, image->mipWidth[i - 1], next, w, h, pixelBytes);
        }
        level = next;
    }
    return true;
}

}  // namespace ImageLib
