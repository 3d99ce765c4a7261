// ETC1 blocks of texture data, decoded by the one ETC1 block decoder and placed
// into an image.
#include "image/Etc1Block.h"

#include <cstring>

namespace ImageLib {
namespace {

uint32_t WordAt(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

// The block's 16 pixels, row by row, R, G, B each.
std::array<uint8_t, 48> DecodedPixels(const ETC1Block& block) {
    std::array<uint8_t, 48> pixels;
    DecodeETC1Block(WordAt(block.bytes.data() + 4), WordAt(block.bytes.data()), pixels.data());
    return pixels;
}

// Pixel p = 4x + y of the alpha nibbles, times 17.
uint8_t AlphaOf(const uint8_t* alpha, int32_t x, int32_t y) {
    const int32_t p = ETC1Format::PixelBit(x, y);
    return static_cast<uint8_t>(((alpha[p / 2] >> (4 * (p % 2))) & 0xF) * 17);
}

void WritePixel(const uint8_t* rgb, const uint8_t* alpha, int32_t x, int32_t y, uint8_t* out) {
    out[0] = rgb[0];
    out[1] = rgb[1];
    out[2] = rgb[2];
    if (alpha != nullptr) out[3] = AlphaOf(alpha, x, y);
}

}  // namespace

void ETC1Block::Decode(uint8_t* destination, int32_t width, int32_t height, int32_t x, int32_t y,
                       const uint8_t* alpha) const {
    const std::array<uint8_t, 48> pixels = DecodedPixels(*this);
    const int32_t step = alpha != nullptr ? 4 : 3;
    for (int32_t by = 0; by < 4; ++by) {
        for (int32_t bx = 0; bx < 4; ++bx) {
            int64_t px = static_cast<int64_t>(x) + bx;
            int64_t py = static_cast<int64_t>(y) + by;
            if (px < 0 || px >= width || py < 0 || py >= height) continue;
            WritePixel(&pixels[static_cast<size_t>(3 * (4 * by + bx))], alpha, bx, by,
                       destination + (py * width + px) * step);
        }
    }
}

void ETC1Block::DecodeInside(uint8_t* topLeft, size_t stride, const uint8_t* alpha) const {
    const std::array<uint8_t, 48> pixels = DecodedPixels(*this);
    for (int32_t by = 0; by < 4; ++by) {
        uint8_t* row = topLeft + static_cast<size_t>(by) * stride;
        const uint8_t* rgb = &pixels[static_cast<size_t>(12 * by)];
        if (alpha == nullptr) {
            std::memcpy(row, rgb, 12);
            continue;
        }
        for (int32_t bx = 0; bx < 4; ++bx) WritePixel(rgb + 3 * bx, alpha, bx, by, row + 4 * bx);
    }
}

}  // namespace ImageLib
