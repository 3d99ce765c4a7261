// The twelve level decoders of the uncompressed formats, and DecodeTexture.
// RGB565, RGB5_A1 and RGBA4 have an AVX2 twin as well (TextureDecodersAvx2.cpp).
#include <array>
#include <iterator>

#include "image/DecoderPaths.h"
#include "image/TextureCodecs.h"
#include "image/TextureTiles.h"

namespace ImageLib {
namespace {

// An n-bit value v expands to v * 255 / (2^n - 1), truncated.
template <int32_t kBits>
constexpr std::array<uint32_t, (1 << kBits)> ExpansionTable() {
    std::array<uint32_t, (1 << kBits)> table{};
    for (uint32_t v = 0; v < (1u << kBits); ++v) table[v] = v * 255 / ((1u << kBits) - 1);
    return table;
}
constexpr auto kExpand5 = ExpansionTable<5>();
constexpr auto kExpand6 = ExpansionTable<6>();

// Both 4-bit values of a byte expanded (times 17) into two bytes, the low
// nibble's first or the high nibble's first.
constexpr std::array<uint32_t, 256> NibbleTable(bool lowFirst) {
    std::array<uint32_t, 256> table{};
    for (uint32_t b = 0; b < 256; ++b) {
        uint32_t low = (b & 0xF) * 17;
        uint32_t high = (b >> 4) * 17;
        table[b] = lowFirst ? low | high << 8 : high | low << 8;
    }
    return table;
}
constexpr auto kNibblesLowFirst = NibbleTable(true);
constexpr auto kNibblesHighFirst = NibbleTable(false);

// Both 4-bit alphas of an A4 byte as two LA pixels: L = 0, A = value * 17.
constexpr std::array<uint32_t, 256> AlphaPairTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t b = 0; b < 256; ++b) table[b] = (b & 0xF) * 17 << 8 | (b >> 4) * 17 << 24;
    return table;
}
constexpr auto kAlphaPairs = AlphaPairTable();

// Byte 1 of a 16-bit value first: LA8 gives L, A and HILO8 gives R, G.
uint32_t SwapBytes(uint32_t in) { return (in >> 8) | (in & 0xFF) << 8; }

}  // namespace

void DecodeLevelL4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeTiles<2, 1, 1>(source, destination, width, height, [](uint64_t in) { return kNibblesLowFirst[in]; });
}

void DecodeLevelL8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<1, 1>(source, destination, width, height, [](uint32_t in) { return in; });
}

void DecodeLevelA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeTiles<2, 1, 2>(source, destination, width, height, [](uint64_t in) { return kAlphaPairs[in]; });
}

void DecodeLevelA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<1, 2>(source, destination, width, height, [](uint32_t in) { return in << 8; });
}

void DecodeLevelLA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<1, 2>(source, destination, width, height, [](uint32_t in) { return kNibblesHighFirst[in]; });
}

void DecodeLevelLA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<2, 2>(source, destination, width, height, SwapBytes);
}

void DecodeLevelHILO8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    // R = byte 1, G = byte 0, B = 0.
    DecodePixelPairs<2, 3>(source, destination, width, height, SwapBytes);
}

void Portable::DecodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<2, 3>(source, destination, width, height, [](uint32_t in) {
        return kExpand5[in >> 11] | kExpand6[(in >> 5) & 0x3F] << 8 | kExpand5[in & 0x1F] << 16;
    });
}

void DecodeLevelRGB8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<3, 3>(source, destination, width, height, [](uint32_t in) { return __builtin_bswap32(in) >> 8; });
}

void Portable::DecodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<2, 4>(source, destination, width, height, [](uint32_t in) {
        uint32_t alpha = (in & 1) != 0 ? 0xFFu : 0u;
        return kExpand5[in >> 11] | kExpand5[(in >> 6) & 0x1F] << 8 | kExpand5[(in >> 1) & 0x1F] << 16 | alpha << 24;
    });
}

void Portable::DecodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    // Byte 1 holds R and G, byte 0 B and A, each high nibble first.
    DecodePixelPairs<2, 4>(source, destination, width, height,
                           [](uint32_t in) { return kNibblesHighFirst[in >> 8] | kNibblesHighFirst[in & 0xFF] << 16; });
}

void DecodeLevelRGBA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePixelPairs<4, 4>(source, destination, width, height, [](uint32_t in) { return __builtin_bswap32(in); });
}

void DecodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeByProcessor(Portable::DecodeLevelRGB565, Avx2::DecodeLevelRGB565, source, destination, width, height);
}

void DecodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeByProcessor(Portable::DecodeLevelRGB5A1, Avx2::DecodeLevelRGB5A1, source, destination, width, height);
}

void DecodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeByProcessor(Portable::DecodeLevelRGBA4, Avx2::DecodeLevelRGBA4, source, destination, width, height);
}

void DecodeByProcessor(LevelDecoder portable, LevelDecoder avx2, const uint8_t* source, uint8_t* destination,
                       int32_t width, int32_t height) {
    if (!IsWholeTiles(width, height)) return;
    static const bool hasAvx2 = Avx2::Supported();
    (hasAvx2 ? avx2 : portable)(source, destination, width, height);
}

void DecodeTexture(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    static constexpr LevelDecoder kDecoders[] = {
        DecodeLevelL4,    DecodeLevelL8,     DecodeLevelA4,   DecodeLevelA8,     DecodeLevelLA4,   DecodeLevelLA8,
        DecodeLevelHILO8, DecodeLevelRGB565, DecodeLevelRGB8, DecodeLevelRGB5A1, DecodeLevelRGBA4, DecodeLevelRGBA8,
        DecodeLevelETC1,  DecodeLevelETC1A4,
    };
    if (format >= 0 && format < static_cast<int32_t>(std::size(kDecoders))) {
        kDecoders[format](source, destination, width, height);
    }
}

}  // namespace ImageLib
