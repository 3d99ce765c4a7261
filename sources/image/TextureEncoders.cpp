// The twelve level encoders of the uncompressed formats.
#include <cstring>
#include <iterator>

#include "image/TextureCodecs.h"
#include "image/TextureTiles.h"

namespace ImageLib {
namespace {

// R, G, B, A of a source pixel are bytes 0 to 3.
uint32_t Luminance(const uint8_t* p) { return (uint32_t{p[0]} + p[1] + p[2]) / 3; }

}  // namespace

void EncodeLevelL4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<2, 1>(source, destination, width, height,
                      [](const uint8_t* p) { return Luminance(p) >> 4 | (Luminance(p + 4) & 0xF0); });
}

void EncodeLevelL8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 1>(source, destination, width, height, [](const uint8_t* p) { return Luminance(p); });
}

void EncodeLevelA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<2, 1>(source, destination, width, height,
                      [](const uint8_t* p) { return uint32_t{p[3]} >> 4 | (p[7] & 0xF0u); });
}

void EncodeLevelA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 1>(source, destination, width, height, [](const uint8_t* p) { return uint32_t{p[3]}; });
}

void EncodeLevelLA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 1>(source, destination, width, height,
                      [](const uint8_t* p) { return (Luminance(p) & 0xF0) | uint32_t{p[3]} >> 4; });
}

void EncodeLevelLA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 2>(source, destination, width, height,
                      [](const uint8_t* p) { return p[3] | Luminance(p) << 8; });
}

void EncodeLevelHILO8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 2>(source, destination, width, height, [](const uint8_t* p) { return p[1] | p[0] << 8; });
}

void EncodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 2>(source, destination, width, height,
                      [](const uint8_t* p) { return (p[0] >> 3) << 11 | (p[1] >> 2) << 5 | p[2] >> 3; });
}

void EncodeLevelRGB8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 3>(source, destination, width, height,
                      [](const uint8_t* p) { return p[2] | p[1] << 8 | p[0] << 16; });
}

void EncodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 2>(source, destination, width, height, [](const uint8_t* p) {
        return (p[0] >> 3) << 11 | (p[1] >> 3) << 6 | (p[2] >> 3) << 1 | p[3] >> 7;
    });
}

void EncodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    EncodeTiles<1, 2>(source, destination, width, height, [](const uint8_t* p) {
        return (p[0] >> 4) << 12 | (p[1] >> 4) << 8 | (p[2] >> 4) << 4 | p[3] >> 4;
    });
}

void EncodeLevelRGBA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    // A, B, G, R in stored byte order: the pixel's four bytes reversed.
    EncodeTiles<1, 4>(source, destination, width, height, [](const uint8_t* p) {
        uint32_t rgba;
        std::memcpy(&rgba, p, 4);
        return __builtin_bswap32(rgba);
    });
}

LevelEncoder GetLevelEncoder(int32_t format) {
    static constexpr LevelEncoder kEncoders[] = {
        EncodeLevelL4,     EncodeLevelL8,     EncodeLevelA4,   EncodeLevelA8,     EncodeLevelLA4,   EncodeLevelLA8,
        EncodeLevelHILO8,  EncodeLevelRGB565, EncodeLevelRGB8, EncodeLevelRGB5A1, EncodeLevelRGBA4, EncodeLevelRGBA8,
    };
    return format >= 0 && format < static_cast<int32_t>(std::size(kEncoders)) ? kEncoders[format] : nullptr;
}

}  // namespace ImageLib
