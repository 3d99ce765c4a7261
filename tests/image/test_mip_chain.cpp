#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "TextureTestInputs.h"
#include "image/Image.h"
#include "image/MipChain.h"

using namespace ImageLib;

namespace {

struct PaddingCase {
    int32_t side, format, mode, width, height;
};

const char* MipModeName(int32_t mode) { return mode == NoMipMap ? "NoMips" : "Mips"; }

std::string PaddingCaseName(const PaddingCase& c) {
    return TextureFormatLabel(c.format) + "_" + MipModeName(c.mode) + "_Side" + std::to_string(c.side);
}

void PrintTo(const PaddingCase& c, std::ostream* os) {
    *os << PaddingCaseName(c) << " padded to " << c.width << "x" << c.height;
}


class PaddedSize : public testing::TestWithParam<PaddingCase> {};

TEST_P(PaddedSize, WidthAndHeight) {
    const PaddingCase& c = GetParam();
    EXPECT_EQ(GetPaddedWidth(c.side, c.format, c.mode), c.width);
    EXPECT_EQ(GetPaddedHeight(c.side, c.format), c.height);
}

INSTANTIATE_TEST_SUITE_P(
    Mip, PaddedSize,
    testing::Values(PaddingCase{1, L8, NoMipMap, 8, 8}, PaddingCase{8, L8, NoMipMap, 8, 8},
                    PaddingCase{9, L8, GenerateMipMap, 16, 16}, PaddingCase{100, L8, NoMipMap, 128, 128},
                    PaddingCase{9, ETC1, NoMipMap, 16, 16}, PaddingCase{17, ETC1, NoMipMap, 32, 32},
                    PaddingCase{1, ETC1, NoMipMap, 16, 16}, PaddingCase{9, ETC1_A4, NoMipMap, 16, 16},
                    // UseMipMap fits the width in the strip, padding only the height.
                    PaddingCase{24, L8, UseMipMap, 16, 32}, PaddingCase{31, L8, UseMipMap, 16, 32},
                    PaddingCase{32, L8, UseMipMap, 32, 32}, PaddingCase{12, L8, UseMipMap, 8, 16},
                    PaddingCase{5, L8, UseMipMap, 8, 8}, PaddingCase{40, ETC1, UseMipMap, 32, 64},
                    // A padded side beyond int32 is 0: the callers fail.
                    PaddingCase{(1 << 30) + 1, L8, NoMipMap, 0, 0},
                    PaddingCase{(1 << 30) + 1, L8, UseMipMap, 1 << 30, 0}),
    [](const testing::TestParamInfo<PaddingCase>& info) {
        return PaddingCaseName(info.param) + "_Case" + std::to_string(info.index);
    });

struct LevelsCase {
    int32_t width, height, format, mode, levels;
};

std::string LevelsCaseName(const LevelsCase& c) {
    return TextureFormatLabel(c.format) + "_" + MipModeName(c.mode) + "_" + std::to_string(c.width) +
           "x" + std::to_string(c.height);
}

void PrintTo(const LevelsCase& c, std::ostream* os) { *os << LevelsCaseName(c) << ": " << c.levels << " levels"; }


class MaxMipLevels : public testing::TestWithParam<LevelsCase> {};

TEST_P(MaxMipLevels, Count) {
    const LevelsCase& c = GetParam();
    EXPECT_EQ(GetMaxMipLevels(c.width, c.height, c.format, c.mode), c.levels);
}

INSTANTIATE_TEST_SUITE_P(
    Mip, MaxMipLevels,
    testing::Values(LevelsCase{256, 256, RGB8, NoMipMap, 1}, LevelsCase{256, 64, RGB8, GenerateMipMap, 4},
                    LevelsCase{256, 256, ETC1, GenerateMipMap, 5}, LevelsCase{256, 256, ETC1_A4, GenerateMipMap, 6},
                    LevelsCase{100, 100, RGB8, GenerateMipMap, 1}, LevelsCase{8, 1024, RGB8, GenerateMipMap, 1},
                    LevelsCase{16, 16, ETC1, GenerateMipMap, 1}, LevelsCase{4096, 4096, RGB8, GenerateMipMap, 10},
                    LevelsCase{8192, 8192, RGB8, GenerateMipMap, 0}, LevelsCase{8192, 8192, ETC1, GenerateMipMap, 10},
                    // Any other mode value behaves as GenerateMipMap.
                    LevelsCase{256, 64, RGB8, 7, 4},
                    // UseMipMap counts the levels that fit side by side in the width.
                    LevelsCase{24, 8, L8, UseMipMap, 2}, LevelsCase{28, 8, L8, UseMipMap, 2},
                    LevelsCase{56, 8, L8, UseMipMap, 3}, LevelsCase{40, 8, L8, UseMipMap, 1},
                    LevelsCase{15, 8, L8, UseMipMap, 1}, LevelsCase{48, 16, ETC1, UseMipMap, 2}),
    [](const testing::TestParamInfo<LevelsCase>& info) {
        return LevelsCaseName(info.param) + "_Case" + std::to_string(info.index);
    });

TEST(MipLevelCount, RequestsOutsideOneToTheMaximumGiveTheMaximum) {
    for (auto [requested, levels] : std::vector<std::pair<int32_t, int32_t>>{{3, 3}, {6, 6}, {0, 6}, {7, 6}, {-1, 6}}) {
        EXPECT_EQ(GetMipLevelCount(256, 256, RGB8, GenerateMipMap, requested), levels) << requested;
    }
    EXPECT_EQ(GetMipLevelCount(256, 256, RGB8, NoMipMap, 3), 1);
    EXPECT_EQ(GetMipLevelCount(56, 8, L8, UseMipMap, 1), 3);
}

// An image whose pixel bytes are numbered from `first`.
void FillNumbered(CImage& image, uint8_t first = 0) {
    const int32_t size = image.GetImageSize(None, nullptr);
    for (int32_t i = 0; i < size; ++i) image.pixels[i] = static_cast<uint8_t>(first + i);
}

TEST(BuildMipChain, PadsByRepeatingTheLastColumnAndRow) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 5, 3, 0, 0, 0, 0));
    FillNumbered(image);
    const ImageOptions options = MipOptions(RGB8, NoMipMap);
    ASSERT_TRUE(BuildMipChain(&image, &options));
    ASSERT_EQ(image.mipLevels, 1);
    ASSERT_EQ(image.mipWidth[0], 8);
    ASSERT_EQ(image.mipHeight[0], 8);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const int32_t source = (std::min(y, 2) * 5 + std::min(x, 4)) * 3;
            for (int32_t c = 0; c < 3; ++c) {
                EXPECT_EQ(image.mipChain[(y * 8 + x) * 3 + c], source + c) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(image.height, 3);
}

TEST(BuildMipChain, EachGeneratedLevelIsATruncatedBoxFilter) {
    CImage image;
    ASSERT_TRUE(image.Create(L, 16, 16, 0, 0, 0, 0));
    image.pixels[0] = 10;
    image.pixels[1] = 11;
    image.pixels[16] = 12;
    image.pixels[17] = 13;
    image.pixels[2] = image.pixels[3] = image.pixels[18] = 1;
    image.pixels[19] = 2;
    const ImageOptions options = MipOptions(L8, GenerateMipMap);
    ASSERT_TRUE(BuildMipChain(&image, &options));
    ASSERT_EQ(image.mipLevels, 2);
    EXPECT_EQ(image.mipChain[256], (10 + 11 + 12 + 13) >> 2);
    EXPECT_EQ(image.mipChain[257], 5 >> 2);
    EXPECT_EQ(image.mipChain[258], 0);
}

TEST(BuildMipChain, FiltersEveryByteOfAPixelAlike) {
    CImage image;
    ASSERT_TRUE(image.Create(RGBA, 32, 16, 0, 0, 0, 0));
    FillNumbered(image);
    const ImageOptions options = MipOptions(RGBA8, GenerateMipMap, 3);
    ASSERT_TRUE(BuildMipChain(&image, &options));
    ASSERT_EQ(image.mipLevels, 2);  // 16 high: levels 16 and 8 only
    const uint8_t* level1 = image.mipChain.get() + 32 * 16 * 4;
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            for (int32_t c = 0; c < 4; ++c) {
                auto at = [&](int32_t sx, int32_t sy) { return image.pixels[(sy * 32 + sx) * 4 + c]; };
                int32_t sum = at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) + at(2 * x + 1, 2 * y + 1);
                ASSERT_EQ(level1[(y * 16 + x) * 4 + c], sum >> 2) << x << "," << y << "," << c;
            }
        }
    }
}

TEST(BuildMipChain, UseMipMapTakesTheLevelsFromTheStrip) {
    CImage image;
    ASSERT_TRUE(image.Create(L, 24, 16, 0, 0, 0, 0));
    FillNumbered(image);
    const ImageOptions options = MipOptions(L8, UseMipMap);
    ASSERT_TRUE(BuildMipChain(&image, &options));
    ASSERT_EQ(image.mipLevels, 2);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 16; ++x) EXPECT_EQ(image.mipChain[y * 16 + x], image.pixels[y * 24 + x]);
    }
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(image.mipChain[256 + y * 8 + x], image.pixels[y * 24 + 16 + x]);
    }
}

TEST(BuildMipChain, UseMipMapKeepsOnlyLevelsAtLeastATileHigh) {
    CImage image;
    ASSERT_TRUE(image.Create(L, 56, 8, 0, 0, 0, 0));
    const ImageOptions options = MipOptions(L8, UseMipMap);
    ASSERT_EQ(GetMaxMipLevels(56, 8, L8, UseMipMap), 3);
    ASSERT_TRUE(BuildMipChain(&image, &options));
    EXPECT_EQ(image.mipLevels, 1);
    ASSERT_TRUE(image.Create(L, 56, 20, 0, 0, 0, 0));
    ASSERT_TRUE(BuildMipChain(&image, &options));
    EXPECT_EQ(image.mipLevels, 3);
    EXPECT_EQ(image.mipHeight[2], 8);
}

TEST(BuildMipChain, UseMipMapRowsBelowTheSourceRepeatItsLastRow) {
    // ETC1 pads the 5 rows to 16, so the second level (16 x 8 at x = 32) reaches below the source.
    CImage image;
    ASSERT_TRUE(image.Create(L, 48, 5, 0, 0, 0, 0));
    FillNumbered(image, 1);
    const ImageOptions options = MipOptions(ETC1, UseMipMap);
    ASSERT_TRUE(BuildMipChain(&image, &options));
    ASSERT_EQ(image.mipLevels, 2);
    ASSERT_EQ(image.mipWidth[1], 16);
    ASSERT_EQ(image.mipHeight[1], 8);
    const uint8_t* level1 = image.mipChain.get() + 32 * 16;
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            EXPECT_EQ(level1[y * 16 + x], image.pixels[std::min(y, 4) * 48 + 32 + x]) << x << "," << y;
        }
    }
}

TEST(BuildMipChain, Refusals) {
    const ImageOptions generate = MipOptions(RGB8, GenerateMipMap);
    CImage indexed;
    ASSERT_TRUE(indexed.Create(Indexed, 8, 8, 2, 0, 0, 0));
    EXPECT_FALSE(BuildMipChain(&indexed, &generate));
    EXPECT_FALSE(BuildMipChain(nullptr, &generate));
    CImage empty;
    EXPECT_FALSE(BuildMipChain(&empty, &generate));
    CImage image;
    ASSERT_TRUE(image.Create(L, 8, 8, 0, 0, 0, 0));
    EXPECT_FALSE(BuildMipChain(&image, nullptr));
}

TEST(BuildMipChain, AllTenLevelsOfA4096SquareDoNotFitButNineDo) {
    CImage image;
    ASSERT_TRUE(image.Create(L, 4096, 4096, 0, 0, 0, 0));
    for (int32_t requested : {0, 10}) {
        const ImageOptions options = MipOptions(L8, GenerateMipMap, requested);
        EXPECT_FALSE(BuildMipChain(&image, &options)) << requested;
    }
    const ImageOptions nine = MipOptions(L8, GenerateMipMap, 9);
    ASSERT_TRUE(BuildMipChain(&image, &nine));
    EXPECT_EQ(image.mipLevels, 9);
    EXPECT_EQ(image.mipWidth[8], 16);
}

}  // namespace
