// The order of pixels in texture data: 8x8 tiles row by row from the top, left
// to right, and the 64 pixels of a tile in Morton (Z) order: in-tile index k
// holds the pixel at x = bits 0, 2, 4 of k and y = bits 1, 3, 5 of k.
//
// The walks below visit a level tile by tile and row by row inside a tile, so
// a source or destination row is read or written in one sweep. They handle only
// levels of whole tiles and do nothing for any other size.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace ImageLib {

inline constexpr int32_t kTileSide = 8;
inline constexpr int32_t kTilePixels = kTileSide * kTileSide;

namespace TileDetail {
// Spreads the three bits of v to bit positions `shift`, `shift` + 2, `shift` + 4.
constexpr uint8_t SpreadBits(int32_t v, int32_t shift) {
    return static_cast<uint8_t>(((v & 1) | (v & 2) << 1 | (v & 4) << 2) << shift);
}
constexpr std::array<uint8_t, kTileSide> MortonTable(int32_t shift) {
    std::array<uint8_t, kTileSide> table{};
    for (int32_t v = 0; v < kTileSide; ++v) table[v] = SpreadBits(v, shift);
    return table;
}

// Units and pixels move between bytes and integers least significant byte first,
// as whole loads and stores (a 3-byte one as 2 + 1 bytes).
static_assert(std::endian::native == std::endian::little);

template <int32_t kBytes>
using Word = std::conditional_t<kBytes == 1, uint8_t,
                                std::conditional_t<kBytes == 2, uint16_t,
                                                   std::conditional_t<kBytes == 4, uint32_t, uint64_t>>>;
// The largest power of two not above kBytes.
template <int32_t kBytes>
inline constexpr int32_t kHeadBytes = kBytes >= 8 ? 8 : kBytes >= 4 ? 4 : kBytes >= 2 ? 2 : 1;

template <int32_t kBytes>
inline uint64_t LoadLittle(const uint8_t* in) {
    static_assert(kBytes >= 1 && kBytes <= 8);
    constexpr int32_t kHead = kHeadBytes<kBytes>;
    Word<kHead> head;
    std::memcpy(&head, in, kHead);
    if constexpr (kHead == kBytes) {
        return head;
    } else {
        return head | LoadLittle<kBytes - kHead>(in + kHead) << (8 * kHead);
    }
}

template <int32_t kBytes>
inline void StoreLittle(uint8_t* out, uint64_t value) {
    static_assert(kBytes >= 1 && kBytes <= 8);
    constexpr int32_t kHead = kHeadBytes<kBytes>;
    auto head = static_cast<Word<kHead>>(value);
    std::memcpy(out, &head, kHead);
    if constexpr (kHead != kBytes) StoreLittle<kBytes - kHead>(out + kHead, value >> (8 * kHead));
}
}  // namespace TileDetail

// In-tile index of the pixel in column x and row y: kMortonOfX[x] + kMortonOfY[y].
inline constexpr std::array<uint8_t, kTileSide> kMortonOfX = TileDetail::MortonTable(0);
inline constexpr std::array<uint8_t, kTileSide> kMortonOfY = TileDetail::MortonTable(1);

// True when a width x height level is a whole number of 8x8 tiles.
constexpr bool IsWholeTiles(int32_t width, int32_t height) {
    return width >= kTileSide && height >= kTileSide && width % kTileSide == 0 && height % kTileSide == 0;
}

// Encodes a level of RGBA8 pixels (rows top-down) into tiled data. The stored
// unit is kPixels horizontally adjacent pixels (1, or 2 for 4-bit formats, which
// are adjacent in Morton order too) of kUnitBytes bytes; `encode(pixels)` reads
// the kPixels source pixels and returns the unit, least significant byte first.
template <int32_t kPixels, int32_t kUnitBytes, typename Encode>
inline void EncodeTiles(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, Encode encode) {
    if (!IsWholeTiles(width, height)) return;
    const size_t stride = static_cast<size_t>(width) * 4;
    for (int32_t tileY = 0; tileY < height; tileY += kTileSide) {
        const uint8_t* tileRow = source + static_cast<size_t>(tileY) * stride;
        for (int32_t tileX = 0; tileX < width; tileX += kTileSide) {
            const uint8_t* tile = tileRow + static_cast<size_t>(tileX) * 4;
#pragma GCC unroll 8
            for (int32_t y = 0; y < kTileSide; ++y) {
                const uint8_t* row = tile + static_cast<size_t>(y) * stride;
#pragma GCC unroll 8
                for (int32_t x = 0; x < kTileSide; x += kPixels) {
                    int32_t unit = (kMortonOfY[y] + kMortonOfX[x]) / kPixels;
                    TileDetail::StoreLittle<kUnitBytes>(destination + unit * kUnitBytes, encode(row + x * 4));
                }
            }
            destination += kTilePixels / kPixels * kUnitBytes;
        }
    }
}

// Decodes tiled data into a level of kOutBytes-per-pixel pixels (rows top-down);
// `decode(unit)` takes one stored unit of kPixels pixels, least significant
// byte first, and returns the pixels packed the same way.
template <int32_t kPixels, int32_t kUnitBytes, int32_t kOutBytes, typename Decode>
inline void DecodeTiles(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, Decode decode) {
    if (!IsWholeTiles(width, height)) return;
    const size_t stride = static_cast<size_t>(width) * kOutBytes;
    for (int32_t tileY = 0; tileY < height; tileY += kTileSide) {
        uint8_t* tileRow = destination + static_cast<size_t>(tileY) * stride;
        for (int32_t tileX = 0; tileX < width; tileX += kTileSide) {
            uint8_t* tile = tileRow + static_cast<size_t>(tileX) * kOutBytes;
#pragma GCC unroll 8
            for (int32_t y = 0; y < kTileSide; ++y) {
                uint8_t* row = tile + static_cast<size_t>(y) * stride;
#pragma GCC unroll 8
                for (int32_t x = 0; x < kTileSide; x += kPixels) {
                    int32_t unit = (kMortonOfY[y] + kMortonOfX[x]) / kPixels;
                    uint64_t value = TileDetail::LoadLittle<kUnitBytes>(source + unit * kUnitBytes);
                    TileDetail::StoreLittle<kPixels * kOutBytes>(row + x * kOutBytes, decode(value));
                }
            }
            source += kTilePixels / kPixels * kUnitBytes;
        }
    }
}

// The same for formats of kStoredBytes per pixel, two horizontally adjacent
// pixels at a time; `decode(stored)` turns one pixel's stored value into its
// decoded pixel.
template <int32_t kStoredBytes, int32_t kOutBytes, typename DecodePixel>
inline void DecodePixelPairs(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                             DecodePixel decode) {
    DecodeTiles<2, 2 * kStoredBytes, kOutBytes>(source, destination, width, height, [decode](uint64_t pair) {
        constexpr uint64_t kMask = (uint64_t{1} << (8 * kStoredBytes)) - 1;
        uint64_t first = decode(static_cast<uint32_t>(pair & kMask));
        uint64_t second = decode(static_cast<uint32_t>(pair >> (8 * kStoredBytes)));
        return first | second << (8 * kOutBytes);
    });
}

}  // namespace ImageLib
