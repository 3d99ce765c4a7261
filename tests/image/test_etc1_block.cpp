#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "image/Etc1Block.h"
#include "image/TextureCodecs.h"
#include "image/TextureFormat.h"

using namespace ImageLib;

namespace {

using Rgb = std::array<uint8_t, 3>;

// Decodes one block into a 4 x 4 RGB image.
std::vector<uint8_t> DecodeBlock(const ETC1Block& block) {
    std::vector<uint8_t> pixels(4 * 4 * 3, 0xCD);
    block.Decode(pixels.data(), 4, 4, 0, 0, nullptr);
    return pixels;
}

Rgb PixelAt(const std::vector<uint8_t>& pixels, int32_t x, int32_t y) {
    const uint8_t* p = pixels.data() + (y * 4 + x) * 3;
    return {p[0], p[1], p[2]};
}

struct BlockPixel {
    int32_t x, y;
    Rgb rgb;
};

struct BlockCase {
    const char* name;
    std::array<uint8_t, 8> bytes;
    std::vector<BlockPixel> pixels;
};

void PrintTo(const BlockCase& c, std::ostream* os) { *os << c.name; }


class Etc1BlockDecode : public testing::TestWithParam<BlockCase> {};

TEST_P(Etc1BlockDecode, Pixels) {
    ETC1Block block;
    block.bytes = GetParam().bytes;
    const std::vector<uint8_t> pixels = DecodeBlock(block);
    for (const BlockPixel& p : GetParam().pixels) EXPECT_EQ(PixelAt(pixels, p.x, p.y), p.rgb) << p.x << "," << p.y;
}

INSTANTIATE_TEST_SUITE_P(
    Etc1, Etc1BlockDecode,
    testing::Values(
        // Individual mode, no flip: bases (170, 51, 0) left and (85, 204, 255)
        // right, codewords 2 and 5; pixel 15 has index 3, pixel 4 index 2,
        // pixel 8 index 1, the rest index 0.
        BlockCase{"individual",
                  {0x00, 0x81, 0x10, 0x80, 0x54, 0x0F, 0x3C, 0xA5},
                  {{0, 0, {179, 60, 9}},
                   {1, 0, {161, 42, 0}},
                   {2, 0, {165, 255, 255}},
                   {3, 3, {5, 124, 175}},
                   {1, 3, {179, 60, 9}},
                   {2, 1, {109, 228, 255}}}},
        // Differential mode with flip: red 20 - 3, green 31 + 3 and blue 0 - 4
        // (both sums outside 0 to 31, so clamped), codewords 0 and 7; pixel 14
        // has index 3, pixel 12 index 2.
        BlockCase{"differential flipped",
                  {0x00, 0x40, 0x00, 0x50, 0x1F, 0x04, 0xFB, 0xA5},
                  {{0, 0, {167, 255, 2}},
                   {0, 3, {187, 255, 47}},
                   {3, 2, {0, 72, 0}},
                   {3, 0, {163, 253, 0}},
                   {3, 1, {167, 255, 2}}}}),
    [](const testing::TestParamInfo<BlockCase>& info) {
        std::string name = info.param.name;
        for (char& c : name) c = c == ' ' ? '_' : c;
        return name;
    });

TEST(Etc1Block, DeltasAreThreeBitTwosComplement) {
    ETC1Block block;
    block.bytes = {0, 0, 0, 0, 0, 0x03, 0x04, 0x07};
    EXPECT_EQ(block.DeltaRed(), -1);
    EXPECT_EQ(block.DeltaGreen(), -4);
    EXPECT_EQ(block.DeltaBlue(), 3);
    block.bytes[7] = 0xF8;
    EXPECT_EQ(block.DeltaRed(), 0);
}

TEST(Etc1Block, PixelsOutsideTheImageAreSkipped) {
    ETC1Block block;
    block.bytes = {0, 0, 0, 0, 0, 0x77, 0x77, 0x77};
    std::vector<uint8_t> pixels(6 * 6 * 3, 0xCD);
    block.Decode(pixels.data(), 6, 6, 4, 4, nullptr);
    block.Decode(pixels.data(), 6, 6, -3, -3, nullptr);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            bool written = (x >= 4 && y >= 4) || (x == 0 && y == 0);
            EXPECT_EQ(pixels[(y * 6 + x) * 3], written ? 0x77 + 2 : 0xCD) << x << "," << y;
        }
    }
}

TEST(Etc1Block, AlphaIsStoredByColumn) {
    // Only pixel p = 4, at (1, 0), has alpha 0xF: alpha byte 2 is 0x0F.
    std::vector<uint8_t> texture(64, 0);
    texture[2] = 0x0F;
    std::vector<uint8_t> pixels(8 * 8 * 4, 0xCD);
    DecodeLevelETC1A4(texture.data(), pixels.data(), 8, 8);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            EXPECT_EQ(pixels[(y * 8 + x) * 4 + 3], x == 1 && y == 0 ? 255 : 0) << x << "," << y;
        }
    }
}

TEST(Etc1Level, BlocksRunTopLeftTopRightBottomLeftBottomRightInEachTile) {
    // 16 blocks of a 16 x 16 level, block n solid red n * 17 + 2 (individual
    // mode, codeword 0, every index 0).
    std::vector<uint8_t> texture(128, 0);
    for (int32_t n = 0; n < 16; ++n) texture[n * 8 + 7] = static_cast<uint8_t>(n << 4 | n);
    std::vector<uint8_t> pixels(16 * 16 * 3);
    DecodeLevelETC1(texture.data(), pixels.data(), 16, 16);
    const std::array<std::array<int32_t, 2>, 8> corners = {
        {{0, 0}, {4, 0}, {0, 4}, {4, 4}, {8, 0}, {12, 0}, {8, 4}, {12, 4}}};
    for (int32_t n = 0; n < 8; ++n) {
        const auto [x, y] = corners[n];
        EXPECT_EQ(pixels[(y * 16 + x) * 3], n * 17 + 2) << n;
    }
    EXPECT_EQ(pixels[(8 * 16 + 0) * 3], 8 * 17 + 2);
}

}  // namespace
