// The ETC1 block format: where every field of a 64-bit block lies, the
// intensity modifier table, and the one block decoder, shared by the image
// library (texture data) and the ETC1 encoder (its Fast methods).
//
// A block travels as two 32-bit words. The high word holds bits 63..32: one
// byte per channel (R at bit 24, G at 16, B at 8) with both sub-blocks' base
// colours, then the table codewords of sub-blocks 1 and 2, the diff bit and the
// flip bit. The low word holds bits 31..0: the plane of index high bits in its
// upper half, that of index low bits in its lower half; pixel (x, y) at bit
// 4x + y of each plane. Texture data stores the block as a little-endian
// 64-bit value, the low word first.
#pragma once

#include <array>
#include <cstdint>

namespace ImageLib {

namespace ETC1Format {

// High word: one byte per channel, R, G, B.
inline constexpr int32_t kChannelShift[3] = {24, 16, 8};
// Individual mode: sub-block 1's 4-bit colour in the upper nibble of the
// channel byte, sub-block 2's in the lower one.
inline constexpr int32_t kIndividualBits = 4;
inline constexpr int32_t kIndividualFirstShift = 4;
// Differential mode: sub-block 1's 5-bit colour in the upper five bits of the
// channel byte, the signed 3-bit difference to sub-block 2 in the lower three.
inline constexpr int32_t kDifferentialBits = 5;
inline constexpr int32_t kDifferentialFirstShift = 3;
inline constexpr int32_t kDeltaBits = 3;
// Table codewords and the mode bits.
inline constexpr int32_t kCodewordBits = 3;
inline constexpr int32_t kCodeword1Shift = 5;
inline constexpr int32_t kCodeword2Shift = 2;
inline constexpr uint32_t kDiffBit = 1u << 1;
inline constexpr uint32_t kFlipBit = 1u << 0;
// Low word: the two 16-bit index planes.
inline constexpr int32_t kPlaneBits = 16;
inline constexpr int32_t kMsbPlaneShift = 16;

constexpr uint32_t FieldMask(int32_t bits) { return (1u << bits) - 1u; }

// The bit of pixel (x, y) in each index plane.
constexpr int32_t PixelBit(int32_t x, int32_t y) { return 4 * x + y; }

// Bits 0..2 of a channel byte read as a 3-bit two's complement number, -4 to 3.
constexpr int32_t Delta(uint32_t channelByte) {
    return static_cast<int32_t>(channelByte & 3u) - static_cast<int32_t>(channelByte & 4u);
}

// The 8-bit colour of a 5-bit or 4-bit code.
constexpr int32_t Expand5(int32_t code) { return code << 3 | code >> 2; }
constexpr int32_t Expand4(int32_t code) { return code << 4 | code; }

// The 8-bit base colours of sub-blocks 1 and 2 in one channel, from that
// channel's byte of the high word. Differential sums outside 0..31, which no
// encoder produces, are clamped to 0..31.
constexpr std::array<uint8_t, 2> BaseChannel(uint32_t channelByte, bool differential) {
    if (!differential) {
        return {static_cast<uint8_t>(Expand4(static_cast<int32_t>(channelByte >> kIndividualFirstShift))),
                static_cast<uint8_t>(Expand4(static_cast<int32_t>(channelByte & FieldMask(kIndividualBits))))};
    }
    const auto first = static_cast<int32_t>(channelByte >> kDifferentialFirstShift);
    const int32_t second = first + Delta(channelByte);
    return {static_cast<uint8_t>(Expand5(first)),
            static_cast<uint8_t>(Expand5(second < 0 ? 0 : (second > 31 ? 31 : second)))};
}

// Each slot's two-bit pixel index: slots -b, -a, +a, +b are indices 3, 2, 0, 1.
inline constexpr uint32_t kSlotToPixelIndex[4] = {3, 2, 0, 1};

// The decoder's kernels, for tests: the same bytes from both. The vector one
// needs Platform::ProcessorHasAvx2().
void DecodeBlockPortable(uint32_t high, uint32_t low, uint8_t* pixels);
void DecodeBlockAvx2(uint32_t high, uint32_t low, uint8_t* pixels);

}  // namespace ETC1Format

// The intensity modifier table: row i is table codeword i, its pair (a, b)
// stored -b, -a, +a, +b, so a value's slot in its row grows with the modifier.
inline constexpr int32_t ETC1ModifierTable[8][4] = {
    {-8, -2, 2, 8},     {-17, -5, 5, 17},   {-29, -9, 9, 29},     {-42, -13, 13, 42},
    {-60, -18, 18, 60}, {-80, -24, 24, 80}, {-106, -33, 33, 106}, {-183, -47, 47, 183},
};

namespace ETC1Format {

// The modifier that pixel index 0..3 (+a, +b, -a, -b) stands for under a codeword.
constexpr int32_t IndexModifier(int32_t codeword, uint32_t index) {
    int32_t slot = 0;
    while (kSlotToPixelIndex[slot] != index) ++slot;
    return ETC1ModifierTable[codeword][slot];
}

}  // namespace ETC1Format

// Decodes the block given as its high and low words into `pixels`: 16 pixels
// row by row, R, G, B each (48 bytes, every one written). Differential sums
// outside 0..31, which no encoder produces, are clamped to 0..31.
void DecodeETC1Block(uint32_t high, uint32_t low, uint8_t* pixels);

}  // namespace ImageLib
