#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "TextureTestInputs.h"
#include "TextureReference.h"
#include "image/Image.h"
#include "image/TextureCodecs.h"
#include "image/TextureFormat.h"

using namespace ImageLib;

namespace {

TEST(TextureFormatNames, StoredNamesFindTheirFormat) {
    for (int32_t format = 0; format < kTextureFormatCount; ++format) {
        EXPECT_EQ(FindTextureFormat(GetTextureFormatName(format)), format);
    }
    EXPECT_EQ(FindTextureFormat("Rgb5_a1"), RGB5_A1);
    EXPECT_STREQ(GetTextureFormatName(LA4), "La4");
    EXPECT_STREQ(GetTextureFormatName(ETC1_A4), "Etc1_a4");
    EXPECT_EQ(FormatNameTable[kTextureFormatCount], nullptr);
    EXPECT_EQ(GetTextureFormatName(ETC1_AUTO), nullptr);
}

TEST(TextureFormatNames, OnlyTheExactNameMatches) {
    for (const char* name : {"rgb5_a1", "RGB5_A1", "Rgb5_a", "Rgb5_a1 ", "", "ETC1_AUTO", "L16"}) {
        EXPECT_EQ(FindTextureFormat(name), INVALID) << name;
    }
    EXPECT_EQ(FindTextureFormat(nullptr), INVALID);
}

TEST(TextureFormatNames, ColorCorrectionNames) {
    const std::array<const char*, 7> names = {"NONE",        "VOQ_TOP",     "VOQ_BTM",    "VOQ_AVG",
                                              "VOQ_INV_TOP", "VOQ_INV_BTM", "VOQ_INV_AVG"};
    for (int32_t i = 0; i < 7; ++i) EXPECT_STREQ(GetColorCorrectionName(i), names[i]);
    EXPECT_EQ(ColorCorrectionNameTable[7], nullptr);
    EXPECT_EQ(GetColorCorrectionName(7), nullptr);
}

struct DataSizeCase {
    int32_t width, height, levels, format, bytes;
};

// A count for a test name: negative ones begin with "Minus".
std::string CountLabel(int32_t value) {
    return value < 0 ? "Minus" + std::to_string(-static_cast<int64_t>(value)) : std::to_string(value);
}

std::string DataSizeCaseName(const DataSizeCase& c) {
    return TextureFormatLabel(c.format) + "_" + CountLabel(c.width) + "x" + CountLabel(c.height) + "_Levels" +
           CountLabel(c.levels);
}

void PrintTo(const DataSizeCase& c, std::ostream* os) { *os << DataSizeCaseName(c) << ": " << c.bytes << " bytes"; }


class TextureDataSize : public testing::TestWithParam<DataSizeCase> {};

TEST_P(TextureDataSize, Bytes) {
    const DataSizeCase& c = GetParam();
    EXPECT_EQ(GetTextureDataSize(c.width, c.height, c.levels, c.format), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Texture, TextureDataSize,
    testing::Values(DataSizeCase{8, 8, 1, L4, 32}, DataSizeCase{8, 8, 1, ETC1_A4, 64},
                    DataSizeCase{64, 32, 3, RGB565, (2048 + 512 + 128) * 2}, DataSizeCase{16, 16, 2, RGB8, 960},
                    DataSizeCase{16, 16, 1, RGBA8, 1024}, DataSizeCase{16, 16, 1, ETC1, 128},
                    DataSizeCase{16, 16, 1, LA8, 512}, DataSizeCase{16, 16, 1, ETC1_AUTO, 0},
                    DataSizeCase{16, 16, 1, INVALID, 0}, DataSizeCase{16, 16, 1, -1, 0}, DataSizeCase{16, 16, 0, L8, 0},
                    DataSizeCase{0, 16, 1, L8, 0}, DataSizeCase{-16, -16, 1, L8, 0},
                    // Levels past a side of 1 halve to nothing and add nothing.
                    DataSizeCase{2, 1, 9, L8, 2},
                    // An odd pixel count of a 4-bit format truncates.
                    DataSizeCase{3, 3, 1, L4, 4},
                    // Sizes that do not fit in int32 are 0, never wrapped.
                    DataSizeCase{32768, 32768, 1, L8, 1 << 30}, DataSizeCase{32768, 32768, 1, RGBA8, 0},
                    DataSizeCase{65536, 65537, 1, L8, 0}, DataSizeCase{40000, 40000, 1, RGB8, 0},
                    DataSizeCase{65536, 65536, 1, L4, 0}, DataSizeCase{2147483647, 2147483647, 9, RGBA8, 0}),
    [](const testing::TestParamInfo<DataSizeCase>& info) {
        return DataSizeCaseName(info.param) + "_Case" + std::to_string(info.index);
    });

TEST(TextureFormat, DecodedImageFormats) {
    const std::array<int32_t, 14> expected = {L, L, LA, LA, LA, LA, RGB, RGB, RGB, RGBA, RGBA, RGBA, RGB, RGBA};
    for (int32_t format = 0; format < kTextureFormatCount; ++format) {
        EXPECT_EQ(GetImageFormatOf(format), expected[format]) << format;
    }
    EXPECT_EQ(GetImageFormatOf(ETC1_AUTO), None);
    EXPECT_EQ(GetImageFormatOf(-1), None);
}

// A 16 x 16 level whose every pixel holds its own number x + 16y as grey, so
// that an L8 encoding names the pixel of every stored position.
std::vector<uint8_t> NumberedLevel() {
    std::vector<uint8_t> pixels(16 * 16 * 4);
    for (int32_t i = 0; i < 256; ++i) {
        pixels[i * 4 + 0] = pixels[i * 4 + 1] = pixels[i * 4 + 2] = static_cast<uint8_t>(i);
        pixels[i * 4 + 3] = 255;
    }
    return pixels;
}

TEST(TextureTiles, StoredPositionsFollowTilesAndMortonOrder) {
    const std::vector<uint8_t> level = NumberedLevel();
    std::vector<uint8_t> stored(256);
    EncodeLevelL8(level.data(), stored.data(), 16, 16);
    auto pixelAt = [&](int32_t n) { return std::array<int32_t, 2>{stored[n] % 16, stored[n] / 16}; };
    EXPECT_EQ(pixelAt(64), (std::array<int32_t, 2>{8, 0}));
    EXPECT_EQ(pixelAt(128), (std::array<int32_t, 2>{0, 8}));
    EXPECT_EQ(pixelAt(69), (std::array<int32_t, 2>{11, 0}));
    const std::array<std::array<int32_t, 2>, 7> inTile = {{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {3, 0}, {0, 2}}};
    const std::array<int32_t, 7> positions = {0, 1, 2, 3, 4, 5, 8};
    for (size_t i = 0; i < positions.size(); ++i) EXPECT_EQ(pixelAt(positions[i]), inTile[i]) << positions[i];
    EXPECT_EQ(pixelAt(63), (std::array<int32_t, 2>{7, 7}));
    for (int32_t n = 0; n < 256; ++n) {
        int32_t x, y;
        TextureReference::TilePosition(n, 16, x, y);
        EXPECT_EQ(pixelAt(n), (std::array<int32_t, 2>{x, y})) << n;
    }
}

// Given pixels at (0, 0) and (1, 0) of an 8 x 8 level (the rest black), the
// first stored bytes and the two decoded pixels.
struct PixelCase {
    int32_t format;
    std::array<uint8_t, 4> first, second;
    std::vector<uint8_t> stored;
    std::vector<uint8_t> decodedFirst, decodedSecond;
};

void PrintTo(const PixelCase& c, std::ostream* os) { *os << TextureFormatLabel(c.format); }


class TexturePixelBytes : public testing::TestWithParam<PixelCase> {};

TEST_P(TexturePixelBytes, EncodeAndDecode) {
    const PixelCase& c = GetParam();
    std::vector<uint8_t> level(8 * 8 * 4);
    std::copy(c.first.begin(), c.first.end(), level.begin());
    std::copy(c.second.begin(), c.second.end(), level.begin() + 4);
    std::vector<uint8_t> texture(static_cast<size_t>(GetTextureDataSize(8, 8, 1, c.format)));
    GetLevelEncoder(c.format)(level.data(), texture.data(), 8, 8);
    EXPECT_EQ(std::vector<uint8_t>(texture.begin(), texture.begin() + c.stored.size()), c.stored);

    const int32_t pixelBytes = GetBytesPerPixel(GetImageFormatOf(c.format));
    std::vector<uint8_t> pixels(static_cast<size_t>(64 * pixelBytes));
    DecodeTexture(c.format, texture.data(), pixels.data(), 8, 8);
    EXPECT_EQ(std::vector<uint8_t>(pixels.begin(), pixels.begin() + pixelBytes), c.decodedFirst);
    EXPECT_EQ(std::vector<uint8_t>(pixels.begin() + pixelBytes, pixels.begin() + 2 * pixelBytes), c.decodedSecond);
}

INSTANTIATE_TEST_SUITE_P(
    Texture, TexturePixelBytes,
    testing::Values(
        PixelCase{L4, {0x3F, 0x3F, 0x3F, 0}, {0xA0, 0xA0, 0xA0, 0}, {0xA3}, {0x33}, {0xAA}},
        // L is (R + G + B) / 3, truncated.
        PixelCase{L8, {10, 20, 31, 0}, {255, 255, 254, 0}, {20, 254}, {20}, {254}},
        PixelCase{A4, {9, 9, 9, 0x3F}, {0, 0, 0, 0xA0}, {0xA3}, {0, 0x33}, {0, 0xAA}},
        PixelCase{A8, {9, 9, 9, 0x7E}, {0, 0, 0, 1}, {0x7E, 1}, {0, 0x7E}, {0, 1}},
        PixelCase{LA4, {0x9C, 0x9C, 0x9C, 0x4F}, {0, 0, 0, 0}, {0x94}, {0x99, 0x44}, {0, 0}},
        PixelCase{LA8, {10, 20, 31, 7}, {0, 0, 0, 0}, {7, 20}, {20, 7}, {0, 0}},
        PixelCase{HILO8, {0x11, 0x22, 0x33, 0x44}, {0, 0, 0, 0}, {0x22, 0x11}, {0x11, 0x22, 0}, {0, 0, 0}},
        PixelCase{RGB565, {255, 255, 255, 0}, {128, 128, 0, 0}, {0xFF, 0xFF, 0x00, 0x84}, {255, 255, 255},
                  {131, 129, 0}},
        PixelCase{RGB8, {1, 2, 3, 4}, {0, 0, 0, 0}, {3, 2, 1}, {1, 2, 3}, {0, 0, 0}},
        PixelCase{RGB5_A1, {255, 0, 8, 127}, {0, 255, 0, 128}, {0x02, 0xF8, 0xC1, 0x07}, {255, 0, 8, 0},
                  {0, 255, 0, 255}},
        PixelCase{RGBA4, {0x12, 0x34, 0x56, 0x78}, {0xFF, 0, 0, 0}, {0x57, 0x13, 0x00, 0xF0}, {0x11, 0x33, 0x55, 0x77},
                  {255, 0, 0, 0}},
        PixelCase{RGBA8, {1, 2, 3, 4}, {5, 6, 7, 8}, {4, 3, 2, 1, 8, 7, 6, 5}, {1, 2, 3, 4}, {5, 6, 7, 8}}),
    [](const testing::TestParamInfo<PixelCase>& info) { return TextureFormatLabel(info.param.format); });

}  // namespace
