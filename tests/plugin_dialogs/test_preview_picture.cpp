#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Image.h"
#include "plugin/PreviewPicture.h"

using namespace ImageLib;
using namespace FormatPlugin;

namespace {

using Bgr = std::array<uint8_t, 3>;
constexpr Bgr kWhite{255, 255, 255};

// The picture pixel at (x, y) counted from the top-left, in blue, green, red.
Bgr PixelAt(const std::vector<uint8_t>& picture, int32_t width, int32_t height, int32_t x, int32_t y) {
    const size_t offset = static_cast<size_t>(height - 1 - y) * PreviewStride(width) + static_cast<size_t>(x) * 3;
    return {picture[offset], picture[offset + 1], picture[offset + 2]};
}

// A converted RGBA texture of `side` x `side` with `levels` levels; every pixel of
// level i is colours[i].
void MakeTexture(CImage& image, int32_t side, int32_t levels, const std::vector<std::array<uint8_t, 4>>& colours) {
    ASSERT_TRUE(image.Create(RGBA, side, side, 0, levels, side, side));
    uint8_t* out = image.mipChain.get();
    for (int32_t level = 0; level < levels; ++level) {
        for (int32_t i = 0; i < image.mipWidth[level] * image.mipHeight[level]; ++i, out += 4) {
            std::copy(colours[level].begin(), colours[level].end(), out);
        }
    }
}

TEST(PreviewPicture, LaysTheLevelsSideBySideTopAligned) {
    CImage texture;
    MakeTexture(texture, 64, 4, {{10, 20, 30, 255}, {40, 50, 60, 255}, {70, 80, 90, 255}, {1, 2, 3, 255}});
    const int32_t width = PreviewPictureWidth(texture, 4);
    ASSERT_EQ(width, 64 + 32 + 16 + 8);
    const std::vector<uint8_t> picture = BuildPreviewPicture(texture, width, 64, 4, {true, false});
    ASSERT_EQ(picture.size(), size_t{360} * 64);

    struct Probe {
        int32_t x, y;
        Bgr expected;
    };
    for (const Probe& p : {Probe{0, 0, {30, 20, 10}}, Probe{63, 63, {30, 20, 10}}, Probe{64, 0, {60, 50, 40}},
                           Probe{95, 31, {60, 50, 40}}, Probe{64, 32, kWhite}, Probe{95, 63, kWhite},
                           Probe{96, 15, {90, 80, 70}}, Probe{96, 16, kWhite}, Probe{112, 7, {3, 2, 1}},
                           Probe{119, 7, {3, 2, 1}}, Probe{119, 8, kWhite}}) {
        EXPECT_EQ(PixelAt(picture, width, 64, p.x, p.y), p.expected) << p.x << ", " << p.y;
    }
}

TEST(PreviewPicture, ShowsOnlyTheLevelsAskedFor) {
    CImage texture;
    MakeTexture(texture, 64, 4, {{10, 20, 30, 255}, {40, 50, 60, 255}, {70, 80, 90, 255}, {1, 2, 3, 255}});
    const std::vector<uint8_t> picture = BuildPreviewPicture(texture, 120, 64, 2, {true, false});
    EXPECT_EQ(PixelAt(picture, 120, 64, 64, 0), (Bgr{60, 50, 40}));
    EXPECT_EQ(PixelAt(picture, 120, 64, 96, 0), kWhite);
    EXPECT_EQ(PreviewPictureWidth(texture, 2), 96);
}

struct ChannelCase {
    const char* name;
    std::array<uint8_t, 4> rgba;
    PreviewChannels channels;
    Bgr shown;
};

class PreviewChannelModes : public testing::TestWithParam<ChannelCase> {};

TEST_P(PreviewChannelModes, Pixel) {
    const ChannelCase& c = GetParam();
    CImage texture;
    MakeTexture(texture, 8, 1, {c.rgba});
    const std::vector<uint8_t> picture = BuildPreviewPicture(texture, 8, 8, 1, c.channels);
    ASSERT_FALSE(picture.empty());
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) ASSERT_EQ(PixelAt(picture, 8, 8, x, y), c.shown) << x << ", " << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Preview, PreviewChannelModes,
    testing::Values(ChannelCase{"ColourIsBlueGreenRed", {10, 20, 30, 77}, {true, false}, {30, 20, 10}},
                    ChannelCase{"AlphaIsGrey", {10, 20, 30, 77}, {false, true}, {77, 77, 77}},
                    ChannelCase{"NeitherIsWhite", {10, 20, 30, 77}, {false, false}, kWhite},
                    ChannelCase{"TintedOpaqueKeepsItsColour", {10, 20, 30, 255}, {true, true}, {30, 20, 10}},
                    ChannelCase{"TintedTransparentWhite", {255, 255, 255, 0}, {true, true}, {127, 127, 255}},
                    ChannelCase{"TintedTransparentBlack", {0, 0, 0, 0}, {true, true}, {0, 0, 127}},
                    // t = 0.5 - 128/255 x 0.5 = 0.2490196: blue 37.549, green 74.347 and red
                    // 200 x 0.7509804 + 255 x 0.2490196 = 213.696, each truncated.
                    ChannelCase{"TintedHalfwayTruncates", {200, 99, 50, 128}, {true, true}, {37, 74, 213}}),
    [](const testing::TestParamInfo<ChannelCase>& info) { return std::string(info.param.name); });

TEST(PreviewPicture, ALevelWithoutPixelsStaysWhite) {
    CImage texture;
    MakeTexture(texture, 16, 2, {{10, 20, 30, 255}, {40, 50, 60, 255}});
    std::vector<uint8_t> picture(static_cast<size_t>(PreviewStride(24)) * 16, 0xFF);
    uint8_t* topLeft = picture.data() + static_cast<size_t>(15) * PreviewStride(24);
    for (int32_t level : {-1, 2, 9}) {
        CopyLevelRGB(&texture, level, topLeft, -PreviewStride(24));
        CopyLevelAlpha(&texture, level, topLeft, -PreviewStride(24));
        CopyLevelTinted(&texture, level, topLeft, -PreviewStride(24));
    }
    CopyLevelTinted(nullptr, 0, topLeft, -PreviewStride(24));
    for (uint8_t byte : picture) ASSERT_EQ(byte, 0xFF);
}

TEST(PreviewPicture, LevelCountFollowsTheDocumentAndOptions) {
    CImage document;
    ASSERT_TRUE(document.Create(RGB, 64, 64, 0, 0, 0, 0));
    ImageOptions options;
    options.format = RGB565;
    options.mipMode = GenerateMipMap;
    EXPECT_EQ(PreviewLevelCount(document, options), 4);
    options.mipLevels = 2;
    EXPECT_EQ(PreviewLevelCount(document, options), 2);
    options.mipMode = NoMipMap;
    EXPECT_EQ(PreviewLevelCount(document, options), 1);
}

TEST(PreviewPicture, RowsArePaddedToFourBytes) {
    EXPECT_EQ(PreviewStride(1), 4);
    EXPECT_EQ(PreviewStride(5), 16);
    EXPECT_EQ(PreviewStride(120), 360);
    EXPECT_EQ(PreviewStride(0), 0);
    EXPECT_EQ(PreviewStride(1 << 30), 0);
}

}  // namespace
