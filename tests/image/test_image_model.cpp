#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ostream>
#include <vector>

#include "image/Image.h"

using namespace ImageLib;

namespace {

TEST(ImageCreate, RgbWithThreeLevelsSizesEveryBuffer) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 10, 6, 0, 3, 16, 8));
    EXPECT_EQ(image.GetImageSize(None, nullptr), 180);
    EXPECT_EQ(image.GetMipImageSize(-1, None), (128 + 32 + 8) * 3);
    const std::array<int32_t, 9> widths = {16, 8, 4, 0, 0, 0, 0, 0, 0};
    const std::array<int32_t, 9> heights = {8, 4, 2, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(image.mipWidth[i], widths[i]) << i;
        EXPECT_EQ(image.mipHeight[i], heights[i]) << i;
    }
    EXPECT_NE(image.pixels, nullptr);
    EXPECT_NE(image.mipChain, nullptr);
    EXPECT_EQ(image.palette, nullptr);
}

struct CreateCase {
    int32_t format, width, height, palette, levels, width0, height0;
    bool created;
};

void PrintTo(const CreateCase& c, std::ostream* out) {
    *out << "format " << c.format << " " << c.width << "x" << c.height << " palette " << c.palette << " levels "
         << c.levels << " from " << c.width0 << "x" << c.height0;
}

class ImageCreateTable : public testing::TestWithParam<CreateCase> {};

TEST_P(ImageCreateTable, AcceptsOrRefuses) {
    const CreateCase& c = GetParam();
    CImage image;
    EXPECT_EQ(image.Create(c.format, c.width, c.height, c.palette, c.levels, c.width0, c.height0), c.created);
    if (!c.created) {
        EXPECT_EQ(image.mipChain, nullptr);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Image, ImageCreateTable,
    testing::Values(CreateCase{RGB, 16, 16, 0, 9, 256, 256, true}, CreateCase{RGB, 16, 16, 0, 10, 512, 512, false},
                    CreateCase{RGB, 16, 16, 0, -1, 16, 16, false}, CreateCase{RGB, 16, 16, 0, 1, 0, 16, false},
                    CreateCase{RGB, 16, 16, 0, 1, 16, 0, false}, CreateCase{Indexed, 4, 4, 256, 0, 0, 0, true},
                    CreateCase{Indexed, 4, 4, 257, 0, 0, 0, false}, CreateCase{None, 4, 4, 0, 0, 0, 0, false},
                    CreateCase{L, 0, 4, 0, 0, 0, 0, false}, CreateCase{L, 4, -1, 0, 0, 0, 0, false},
                    // Sizes whose byte count does not fit in int32 are refused, not wrapped.
                    CreateCase{RGBA, 65536, 32768, 0, 0, 0, 0, false},
                    CreateCase{L, 65535, 65535, 0, 1, 65536, 65536, false}));

TEST(ImageCreate, OddLevelSizesHalveDownToZero) {
    CImage image;
    ASSERT_TRUE(image.SetInfo(L, 5, 5, 0, 4, 5, 5));
    EXPECT_EQ(image.mipWidth[1], 2);
    EXPECT_EQ(image.mipWidth[2], 1);
    EXPECT_EQ(image.mipWidth[3], 0);
}

TEST(ImageCreate, BuffersStartZeroFilled) {
    CImage image;
    ASSERT_TRUE(image.Create(Indexed, 7, 3, 2, 2, 8, 4));
    for (int32_t i = 0; i < 21; ++i) EXPECT_EQ(image.pixels[i], 0);
    for (int32_t i = 0; i < 256 * 3; ++i) EXPECT_EQ(image.palette[i], 0);
    for (int32_t i = 0; i < 32 + 8; ++i) EXPECT_EQ(image.mipChain[i], 0);
}

TEST(ImageSetMipLevels, RefusesCountsOutsideTheArraysBeforeStoringThem) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 8, 8, 0, 2, 8, 8));
    EXPECT_FALSE(image.SetMipLevels(10, 1024, 1024));
    EXPECT_FALSE(image.SetMipLevels(-1, 8, 8));
    EXPECT_EQ(image.mipLevels, 2);
    EXPECT_EQ(image.mipWidth[0], 8);
    ASSERT_TRUE(image.SetMipLevels(3, 32, 16));
    EXPECT_EQ(image.GetMipImageSize(-1, None), (512 + 128 + 32) * 3);
    EXPECT_EQ(image.mipWidth[3], 0);
    ASSERT_TRUE(image.SetMipLevels(0, 32, 16));
    EXPECT_EQ(image.mipChain, nullptr);
    EXPECT_EQ(image.mipWidth[1], 0);
}

TEST(ImageMip, WithoutAChainEveryLevelRequestFails) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 4, 4, 0, 0, 0, 0));
    uint8_t buffer[64] = {};
    EXPECT_FALSE(image.GetMipImage(buffer, sizeof buffer, None, -1));
    EXPECT_FALSE(image.GetMipImage(buffer, sizeof buffer, None, 0));
    EXPECT_EQ(image.GetMipImageSize(-1, None), 0);
    EXPECT_EQ(image.GetMipImageSize(0, None), 0);
}

TEST(ImageMip, AllLevelsConvertOneAfterTheOther) {
    CImage image;
    ASSERT_TRUE(image.Create(L, 4, 4, 0, 2, 2, 2));
    for (int i = 0; i < 5; ++i) image.mipChain[i] = static_cast<uint8_t>(10 * (i + 1));
    std::vector<uint8_t> rgba(image.GetMipImageSize(-1, RGBA));
    ASSERT_EQ(rgba.size(), 20u);
    ASSERT_TRUE(image.GetMipImage(rgba.data(), static_cast<int32_t>(rgba.size()), RGBA, -1));
    const std::vector<uint8_t> expected = {10, 10, 10, 255, 20, 20, 20, 255, 30, 30, 30, 255,
                                           40, 40, 40, 255, 50, 50, 50, 255};
    EXPECT_EQ(rgba, expected);
    uint8_t level1[4] = {};
    ASSERT_TRUE(image.GetMipImage(level1, 4, RGBA, 1));
    EXPECT_EQ(level1[0], 50);
    EXPECT_FALSE(image.GetMipImage(level1, 3, RGBA, 1));
    EXPECT_FALSE(image.GetMipImage(level1, 4, RGBA, 2));
}

TEST(ImageGetPixels, BufferOneByteShortIsRefusedUntouched) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 2, 2, 0, 0, 0, 0));
    std::vector<uint8_t> buffer(11, 0xAB);
    EXPECT_FALSE(image.GetPixels(buffer.data(), 11, None));
    EXPECT_EQ(buffer, std::vector<uint8_t>(11, 0xAB));
    buffer.resize(12);
    EXPECT_TRUE(image.GetPixels(buffer.data(), 12, None));
}

struct ConversionCase {
    int32_t from;
    int32_t to;
    std::vector<uint8_t> source;
    std::vector<uint8_t> expected;
};

void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.from << " to " << c.to; }

class ConvertPixelsTable : public testing::TestWithParam<ConversionCase> {};

// The palette used by Indexed sources: entry 0 is (30, 60, 91), entry 1 (255, 0, 1).
constexpr std::array<uint8_t, 256 * 3> MakePalette() {
    std::array<uint8_t, 256 * 3> palette{};
    palette[0] = 30, palette[1] = 60, palette[2] = 91;
    palette[3] = 255, palette[4] = 0, palette[5] = 1;
    return palette;
}
constexpr auto kPalette = MakePalette();

TEST_P(ConvertPixelsTable, WritesTheExpectedBytes) {
    const ConversionCase& c = GetParam();
    std::vector<uint8_t> out(c.expected.size(), 0xCD);
    ASSERT_TRUE(ConvertPixels(c.from, c.to, c.source.data(), out.data(), kPalette.data(), 1, 1));
    EXPECT_EQ(out, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Image, ConvertPixelsTable,
    testing::Values(ConversionCase{L, LA, {77}, {77, 77}}, ConversionCase{L, RGB, {77}, {77, 77, 77}},
                    ConversionCase{L, RGBA, {77}, {77, 77, 77, 255}}, ConversionCase{LA, L, {77, 9}, {77}},
                    ConversionCase{LA, RGB, {77, 9}, {77, 77, 77}},
                    ConversionCase{LA, RGBA, {77, 9}, {77, 77, 77, 9}}, ConversionCase{RGB, L, {10, 20, 31}, {20}},
                    ConversionCase{RGB, LA, {10, 20, 31}, {20, 255}},
                    ConversionCase{RGB, RGBA, {10, 20, 31}, {10, 20, 31, 255}},
                    ConversionCase{RGBA, L, {255, 255, 254, 7}, {254}},
                    ConversionCase{RGBA, LA, {255, 255, 254, 7}, {254, 7}},
                    ConversionCase{RGBA, RGB, {1, 2, 3, 4}, {1, 2, 3}}, ConversionCase{Indexed, L, {0}, {60}},
                    ConversionCase{Indexed, LA, {1}, {85, 255}}, ConversionCase{Indexed, RGB, {0}, {30, 60, 91}},
                    ConversionCase{Indexed, RGBA, {1}, {255, 0, 1, 255}},
                    // An index past the used entries reads black.
                    ConversionCase{Indexed, RGB, {200}, {0, 0, 0}},
                    ConversionCase{Indexed, Indexed, {200}, {200}}, ConversionCase{RGB, RGB, {1, 2, 3}, {1, 2, 3}}));

struct RefusedCase {
    int32_t from;
    int32_t to;
    bool withPalette;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.from << " to " << c.to << (c.withPalette ? "" : " without palette");
}

class ConvertPixelsRefused : public testing::TestWithParam<RefusedCase> {};

TEST_P(ConvertPixelsRefused, FailsAndWritesNothing) {
    const RefusedCase& c = GetParam();
    uint8_t source[4] = {1, 2, 3, 4};
    uint8_t out[4] = {0xEE, 0xEE, 0xEE, 0xEE};
    EXPECT_FALSE(ConvertPixels(c.from, c.to, source, out, c.withPalette ? kPalette.data() : nullptr, 1, 1));
    for (uint8_t byte : out) EXPECT_EQ(byte, 0xEE);
}

INSTANTIATE_TEST_SUITE_P(Image, ConvertPixelsRefused,
                         testing::Values(RefusedCase{RGB, Indexed, true}, RefusedCase{L, Indexed, true},
                                         RefusedCase{Indexed, RGB, false}, RefusedCase{RGB, 6, true},
                                         RefusedCase{0, RGB, true}, RefusedCase{RGB, None, true}));

TEST(ConvertPixels, RefusesEmptySizesAndNullBuffers) {
    uint8_t a[4] = {}, b[4] = {};
    EXPECT_FALSE(ConvertPixels(RGB, L, a, b, nullptr, 0, 1));
    EXPECT_FALSE(ConvertPixels(RGB, L, a, b, nullptr, 1, 0));
    EXPECT_FALSE(ConvertPixels(RGB, L, nullptr, b, nullptr, 1, 1));
    EXPECT_FALSE(ConvertPixels(RGB, L, a, nullptr, nullptr, 1, 1));
    EXPECT_TRUE(ConvertPixels(7, 7, a, b, nullptr, 1, 1));  // unknown layouts "copy" nothing
}

TEST(ConvertPixels, StepsEachLayoutAcrossARectangle) {
    // 3 x 2 pixels: every source pixel lands at its own place, none is skipped or repeated.
    const std::vector<uint8_t> rgb = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    std::vector<uint8_t> rgba(24, 0xCD);
    ASSERT_TRUE(ConvertPixels(RGB, RGBA, rgb.data(), rgba.data(), nullptr, 3, 2));
    EXPECT_EQ(rgba, (std::vector<uint8_t>{1, 2, 3, 255, 4, 5, 6, 255, 7, 8, 9, 255, 10, 11, 12, 255, 13, 14, 15, 255,
                                          16, 17, 18, 255}));
    std::vector<uint8_t> la(12, 0xCD);
    ASSERT_TRUE(ConvertPixels(RGBA, LA, rgba.data(), la.data(), nullptr, 2, 3));
    EXPECT_EQ(la, (std::vector<uint8_t>{2, 255, 5, 255, 8, 255, 11, 255, 14, 255, 17, 255}));
}

// RGB rows of every length up to 40 pixels: the vectorised steps and the pixels
// after them each land where they belong, and nothing is written past the end.
TEST(ConvertPixels, RgbToRgbaRowsOfEveryLength) {
    for (int32_t width = 1; width <= 40; ++width) {
        std::vector<uint8_t> rgb(static_cast<size_t>(3 * width));
        for (size_t i = 0; i < rgb.size(); ++i) rgb[i] = static_cast<uint8_t>(7 * i + width);
        std::vector<uint8_t> rgba(static_cast<size_t>(4 * width + 4), 0xCD);
        ASSERT_TRUE(ConvertPixels(RGB, RGBA, rgb.data(), rgba.data(), nullptr, width, 1));
        for (int32_t x = 0; x < width; ++x) {
            for (int32_t c = 0; c < 3; ++c) ASSERT_EQ(rgba[4 * x + c], rgb[3 * x + c]) << width << " " << x;
            ASSERT_EQ(rgba[4 * x + 3], 255) << width << " " << x;
        }
        for (int32_t i = 4 * width; i < 4 * width + 4; ++i) ASSERT_EQ(rgba[i], 0xCD) << width;
    }
}

TEST(ImageCopyFrom, IndexedRequestFromRgbGivesAPlainCopy) {
    CImage source;
    ASSERT_TRUE(source.Create(RGB, 2, 1, 0, 1, 2, 1));
    const uint8_t bytes[6] = {1, 2, 3, 4, 5, 6};
    std::memcpy(source.pixels.get(), bytes, 6);
    std::memcpy(source.mipChain.get(), bytes, 6);
    CImage copy;
    copy.CopyFrom(source, Indexed);
    EXPECT_EQ(copy.format, RGB);
    ASSERT_NE(copy.pixels, nullptr);
    EXPECT_EQ(std::memcmp(copy.pixels.get(), bytes, 6), 0);
    ASSERT_NE(copy.mipChain, nullptr);
    EXPECT_EQ(std::memcmp(copy.mipChain.get(), bytes, 6), 0);
}

TEST(ImageCopyFrom, ConvertsPixelsAndChainAndDropsThePalette) {
    CImage source;
    ASSERT_TRUE(source.Create(Indexed, 2, 1, 2, 1, 2, 1));
    std::memcpy(source.palette.get(), kPalette.data(), 6);
    source.pixels[0] = 1;
    source.mipChain[1] = 1;
    CImage copy;
    copy.CopyFrom(source, RGBA);
    EXPECT_EQ(copy.format, RGBA);
    EXPECT_EQ(copy.paletteCount, 0);
    EXPECT_EQ(copy.palette, nullptr);
    const uint8_t pixels[8] = {255, 0, 1, 255, 30, 60, 91, 255};
    EXPECT_EQ(std::memcmp(copy.pixels.get(), pixels, 8), 0);
    const uint8_t chain[8] = {30, 60, 91, 255, 255, 0, 1, 255};
    EXPECT_EQ(std::memcmp(copy.mipChain.get(), chain, 8), 0);
}

TEST(ImageCopyFrom, KeepsThePaletteOfAnIndexedCopy) {
    CImage source;
    ASSERT_TRUE(source.Create(Indexed, 1, 1, 2, 0, 0, 0));
    std::memcpy(source.palette.get(), kPalette.data(), 6);
    CImage copy;
    copy.CopyFrom(source, None);
    EXPECT_EQ(copy.format, Indexed);
    EXPECT_EQ(copy.paletteCount, 2);
    ASSERT_NE(copy.palette, nullptr);
    EXPECT_EQ(std::memcmp(copy.palette.get(), kPalette.data(), 6), 0);
}

struct PixelAccessCase {
    int32_t x, y;
    bool inside;
};

void PrintTo(const PixelAccessCase& c, std::ostream* out) { *out << "(" << c.x << ", " << c.y << ")"; }

class PixelAccessTable : public testing::TestWithParam<PixelAccessCase> {};

TEST_P(PixelAccessTable, ReadsAndWritesOnlyInsideTheImage) {
    const PixelAccessCase& c = GetParam();
    std::vector<uint8_t> buffer(3 * 2 * 2, 0);
    const uint8_t value[2] = {7, 8};
    EXPECT_EQ(SetPixel(LA, buffer.data(), 3, 2, c.x, c.y, value), c.inside);
    uint8_t out[2] = {0, 0};
    EXPECT_EQ(GetPixel(LA, buffer.data(), 3, 2, c.x, c.y, out), c.inside);
    if (c.inside) {
        EXPECT_EQ(out[0], 7);
        EXPECT_EQ(out[1], 8);
        EXPECT_EQ(buffer[(c.y * 3 + c.x) * 2], 7);
    } else {
        EXPECT_EQ(buffer, std::vector<uint8_t>(12, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Image, PixelAccessTable,
                         testing::Values(PixelAccessCase{0, 0, true}, PixelAccessCase{2, 1, true},
                                         PixelAccessCase{-1, 0, false}, PixelAccessCase{3, 0, false},
                                         PixelAccessCase{0, -1, false}, PixelAccessCase{0, 2, false}));

TEST(PixelAccess, RefusesMissingBuffersAndFormats) {
    uint8_t pixel[4] = {}, buffer[4] = {};
    EXPECT_FALSE(GetPixel(None, buffer, 1, 1, 0, 0, pixel));
    EXPECT_FALSE(GetPixel(L, nullptr, 1, 1, 0, 0, pixel));
    EXPECT_FALSE(GetPixel(L, buffer, 1, 1, 0, 0, nullptr));
    EXPECT_FALSE(SetPixel(L, buffer, 0, 1, 0, 0, pixel));
    EXPECT_FALSE(SetPixel(L, buffer, 1, 1, 0, 0, nullptr));
}

TEST(BytesPerPixel, ByLayout) {
    const std::array<int32_t, 8> expected = {0, 1, 2, 3, 4, 1, 0, 0};
    for (int32_t format = 0; format < 8; ++format) EXPECT_EQ(GetBytesPerPixel(format), expected[format]);
    EXPECT_EQ(GetBytesPerPixel(-1), 0);
    EXPECT_EQ(GetImageByteSize(RGBA, 40000, 40000), 0);
    EXPECT_EQ(GetImageByteSize(RGBA, 100, 50), 20000);
}

}  // namespace
