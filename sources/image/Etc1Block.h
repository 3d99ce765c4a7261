// ETC1Block: one ETC1 colour block exactly as texture data stores it.
//
// The 8 bytes are the block's 64-bit value little-endian: byte 7 red, byte 6
// green, byte 5 blue (two 4-bit bases, or a 5-bit base and a 3-bit delta),
// byte 4 the table codewords of sub-blocks 1 (bits 5-7) and 2 (bits 2-4), the
// differential bit (bit 1) and the flip bit (bit 0); bytes 2-3 the plane of
// pixel-index high bits and bytes 0-1 that of low bits, bit p of each plane
// belonging to pixel p at x = p / 4, y = p % 4.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace ImageLib {

namespace Etc1Rules {

// The intensity modifiers of each table codeword, the smaller and the larger.
// A pixel's index value 0 to 3 selects +smaller, +larger, -smaller, -larger.
inline constexpr int32_t kModifiers[8][2] = {
    {2, 8}, {5, 17}, {9, 29}, {13, 42}, {18, 60}, {24, 80}, {33, 106}, {47, 183},
};

// Bits 0-2 of a byte read as a 3-bit two's complement number, -4 to 3.
constexpr int32_t Delta(uint8_t byte) { return (byte & 3) - (byte & 4); }

// The 8-bit base of sub-blocks 1 and 2 in one channel, from that channel's byte.
constexpr std::array<uint8_t, 2> BaseChannel(uint8_t byte, bool differential) {
    if (!differential) return {static_cast<uint8_t>((byte >> 4) * 17), static_cast<uint8_t>((byte & 0xF) * 17)};
    auto expand5 = [](int32_t v) { return static_cast<uint8_t>(v << 3 | v >> 2); };
    int32_t first = byte >> 3;
    // A sum outside 0 to 31 is not valid ETC1; clamping it keeps every base
    // inside the 5-bit range.
    return {expand5(first), expand5(std::clamp(first + Delta(byte), 0, 31))};
}

}  // namespace Etc1Rules

struct ETC1Block {
    std::array<uint8_t, 8> bytes{};

    // The 3-bit deltas of differential mode, -4 to 3.
    int32_t DeltaRed() const { return Etc1Rules::Delta(bytes[7]); }
    int32_t DeltaGreen() const { return Etc1Rules::Delta(bytes[6]); }
    int32_t DeltaBlue() const { return Etc1Rules::Delta(bytes[5]); }

    // Writes the 16 pixels as RGB (alpha null) or RGBA into a width x height
    // image whose pixel (x, y) is the block's top-left; pixels outside the image
    // are skipped. `alpha` is 8 bytes: the 4-bit alpha of pixel p in bits 4p to
    // 4p + 3 of their little-endian 64-bit value, expanded times 17.
    void Decode(uint8_t* destination, int32_t width, int32_t height, int32_t x, int32_t y,
                const uint8_t* alpha) const;

    // The same for a block that lies wholly inside the image: `topLeft` is its
    // top-left pixel and `stride` the bytes of one image row.
    void DecodeInside(uint8_t* topLeft, size_t stride, const uint8_t* alpha) const;
};

}  // namespace ImageLib
