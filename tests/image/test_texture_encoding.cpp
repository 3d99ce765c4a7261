#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "TextureTestInputs.h"
#include "image/ColorCorrection.h"
#include "image/Image.h"
#include "image/TextureCodecs.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"

using namespace ImageLib;

namespace {

void FillRandom(CImage& image, uint32_t seed) {
    const std::vector<uint8_t> bytes = RandomBytes(static_cast<size_t>(image.GetImageSize(None, nullptr)), seed);
    std::copy(bytes.begin(), bytes.end(), image.pixels.get());
}

std::vector<uint8_t> Bytes(const ByteBuffer& buffer, int32_t size) {
    return buffer ? std::vector<uint8_t>(buffer.get(), buffer.get() + size) : std::vector<uint8_t>{};
}

int32_t ChainDataSize(const CImage& image, int32_t format) {
    return GetTextureDataSize(image.mipWidth[0], image.mipHeight[0], image.mipLevels, format);
}

// Sizes (not all powers of two) and mip modes.
using RoundTripCase = std::tuple<int32_t, std::tuple<int32_t, int32_t, int32_t>>;
class TextureRoundTrip : public testing::TestWithParam<RoundTripCase> {};

// Decoding every level of the texture data and encoding the chain again gives the same bytes.
TEST_P(TextureRoundTrip, DecodingAndEncodingAgainGivesTheSameBytes) {
    const auto [format, shape] = GetParam();
    const auto [width, height, mode] = shape;
    CImage image;
    ASSERT_TRUE(image.Create(RGBA, width, height, 0, 0, 0, 0));
    FillRandom(image, static_cast<uint32_t>(width * 1000 + height));
    const ImageOptions options = MipOptions(format, mode);
    const ByteBuffer texture = EncodeTexture(&image, &options);
    ASSERT_NE(texture, nullptr);
    const int32_t size = ChainDataSize(image, format);

    CImage decoded;
    ASSERT_TRUE(decoded.Create(GetImageFormatOf(format), image.mipWidth[0], image.mipHeight[0], 0, image.mipLevels,
                               image.mipWidth[0], image.mipHeight[0]));
    const uint8_t* level = texture.get();
    uint8_t* pixels = decoded.mipChain.get();
    for (int32_t i = 0; i < decoded.mipLevels; ++i) {
        DecodeTexture(format, level, pixels, decoded.mipWidth[i], decoded.mipHeight[i]);
        level += GetTextureDataSize(decoded.mipWidth[i], decoded.mipHeight[i], 1, format);
        pixels += decoded.GetMipImageSize(i, None);
    }
    const ByteBuffer again = EncodeMipLevels(&decoded, format, Fast, nullptr);
    EXPECT_EQ(Bytes(again, size), Bytes(texture, size));
}

INSTANTIATE_TEST_SUITE_P(
    Texture, TextureRoundTrip,
    testing::Combine(testing::Range<int32_t>(L4, ETC1),
                     testing::Values(std::tuple{5, 3, NoMipMap}, std::tuple{100, 60, NoMipMap},
                                     std::tuple{37, 130, GenerateMipMap}, std::tuple{64, 32, GenerateMipMap},
                                     std::tuple{128, 128, GenerateMipMap}, std::tuple{56, 20, UseMipMap},
                                     std::tuple{61, 33, UseMipMap})));

TEST(EncodeTexture, IndexedImagesAreEncodedFromTheirRgbConversion) {
    CImage indexed;
    ASSERT_TRUE(indexed.Create(Indexed, 10, 6, 4, 0, 0, 0));
    FillRandom(indexed, 5);
    for (int32_t i = 0; i < 12; ++i) indexed.palette[i] = static_cast<uint8_t>(20 * i + 3);
    CImage rgb;
    ASSERT_TRUE(rgb.Create(RGB, 10, 6, 0, 0, 0, 0));
    ASSERT_TRUE(indexed.GetPixels(rgb.pixels.get(), 180, RGB));
    const ImageOptions options = MipOptions(RGB565, NoMipMap);
    const ByteBuffer fromIndexed = EncodeTexture(&indexed, &options);
    const ByteBuffer fromRgb = EncodeTexture(&rgb, &options);
    EXPECT_EQ(Bytes(fromIndexed, 128), Bytes(fromRgb, 128));
    EXPECT_EQ(indexed.mipLevels, 0);
    EXPECT_EQ(indexed.mipChain, nullptr);
}

TEST(EncodeTexture, CorrectedPixelsAreEncodedWhileTheImageGetsAChainOfItsOwn) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 16, 8, 0, 0, 0, 0));
    FillRandom(image, 6);
    ImageOptions options = MipOptions(RGB8, NoMipMap);
    options.colorCorrection = VOQ_TOP;
    CImage corrected;
    ASSERT_TRUE(ApplyColorCorrection(&image, &corrected, &options));
    const ByteBuffer texture = EncodeTexture(&image, &options);
    options.colorCorrection = NONE;
    const ByteBuffer expected = EncodeTexture(&corrected, &options);
    EXPECT_EQ(Bytes(texture, 384), Bytes(expected, 384));
    ASSERT_EQ(image.mipLevels, 1);
    EXPECT_EQ(std::vector<uint8_t>(image.mipChain.get(), image.mipChain.get() + 384),
              std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 384));
}

TEST(EncodeTexture, FormatsWithoutAnEncoderFailAfterTheChainIsBuilt) {
    for (int32_t format : {static_cast<int32_t>(ETC1_AUTO), static_cast<int32_t>(INVALID), -1}) {
        CImage image;
        ASSERT_TRUE(image.Create(RGB, 8, 8, 0, 0, 0, 0));
        const ImageOptions options = MipOptions(format, NoMipMap);
        EXPECT_EQ(EncodeTexture(&image, &options), nullptr) << format;
        EXPECT_EQ(image.mipLevels, 1) << format;
    }
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 8, 8, 0, 0, 0, 0));
    const ImageOptions options = MipOptions(RGB8, NoMipMap);
    EXPECT_EQ(EncodeTexture(nullptr, &options), nullptr);
    EXPECT_EQ(EncodeTexture(&image, nullptr), nullptr);
}

struct EtcCall {
    int32_t width, height, format, quality;
};
std::vector<EtcCall> g_etcCalls;

int32_t RecordingEtcEncoder(const uint8_t*, uint8_t* destination, int32_t width, int32_t height, int32_t format,
                            int32_t quality) {
    g_etcCalls.push_back({width, height, format, quality});
    destination[0] = 0xEE;
    return 0;
}

TEST(EncodeMipLevels, EtcLevelsGoToTheEncoderOneByOne) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 64, 32, 0, 0, 0, 0));
    ImageOptions options = MipOptions(ETC1, GenerateMipMap);
    options.etcEncoder = RecordingEtcEncoder;
    options.etcQuality = MediumPerceptual;
    g_etcCalls.clear();
    const ByteBuffer texture = EncodeTexture(&image, &options);
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(g_etcCalls.size(), 2u);
    EXPECT_EQ(g_etcCalls[0].width, 64);
    EXPECT_EQ(g_etcCalls[0].height, 32);
    EXPECT_EQ(g_etcCalls[1].width, 32);
    EXPECT_EQ(g_etcCalls[1].height, 16);
    EXPECT_EQ(g_etcCalls[1].format, ETC1);
    EXPECT_EQ(g_etcCalls[1].quality, MediumPerceptual);
    EXPECT_EQ(texture[0], 0xEE);
    EXPECT_EQ(texture[64 * 32 / 2], 0xEE);
}

TEST(EncodeMipLevels, EtcLevelsWithoutAnEncoderAreZero) {
    CImage image;
    ASSERT_TRUE(image.Create(RGBA, 16, 16, 0, 0, 0, 0));
    FillRandom(image, 7);
    const ImageOptions options = MipOptions(ETC1_A4, GenerateMipMap);
    const ByteBuffer texture = EncodeTexture(&image, &options);
    ASSERT_EQ(image.mipLevels, 2);
    EXPECT_EQ(Bytes(texture, 256 + 64), std::vector<uint8_t>(256 + 64, 0));
}

// An RGBA chain is encoded from its own levels: every level gives what its
// encoder gives for a separate copy of that level's pixels.
class RgbaChainLevels : public testing::TestWithParam<int32_t> {};

TEST_P(RgbaChainLevels, EachLevelIsEncodedFromItsOwnPixels) {
    const int32_t format = GetParam();
    CImage image;
    ASSERT_TRUE(image.Create(RGBA, 64, 32, 0, 0, 0, 0));
    FillRandom(image, 11);
    const ImageOptions options = MipOptions(format, GenerateMipMap);
    const ByteBuffer texture = EncodeTexture(&image, &options);
    ASSERT_NE(texture, nullptr);
    ASSERT_EQ(image.mipLevels, 3);

    std::vector<uint8_t> expected;
    for (int32_t i = 0; i < image.mipLevels; ++i) {
        const int32_t width = image.mipWidth[i];
        const int32_t height = image.mipHeight[i];
        std::vector<uint8_t> pixels(static_cast<size_t>(image.GetMipImageSize(i, None)));
        ASSERT_TRUE(image.GetMipImage(pixels.data(), static_cast<int32_t>(pixels.size()), RGBA, i));
        std::vector<uint8_t> level(static_cast<size_t>(GetTextureDataSize(width, height, 1, format)));
        GetLevelEncoder(format)(pixels.data(), level.data(), width, height);
        expected.insert(expected.end(), level.begin(), level.end());
    }
    EXPECT_EQ(Bytes(texture, ChainDataSize(image, format)), expected);
}

INSTANTIATE_TEST_SUITE_P(Texture, RgbaChainLevels, testing::Range<int32_t>(L4, ETC1),
                         [](const testing::TestParamInfo<int32_t>& info) {
                             return std::string(GetTextureFormatName(info.param));
                         });

TEST(EncodeMipLevels, AWorkBufferBeyondInt32FailsBeforeAnythingIsAllocated) {
    // 4 x 32768 x 32768 bytes of RGBA would wrap to 0 in 32 bits.
    CImage image;
    ASSERT_TRUE(image.SetInfo(L, 1, 1, 0, 1, 32768, 32768));
    image.mipChain = AllocateBytes(1);
    EXPECT_EQ(EncodeMipLevels(&image, L8, Fast, nullptr), nullptr);
    EXPECT_EQ(EncodeMipLevels(nullptr, L8, Fast, nullptr), nullptr);
    CImage noChain;
    ASSERT_TRUE(noChain.Create(L, 8, 8, 0, 0, 0, 0));
    EXPECT_EQ(EncodeMipLevels(&noChain, L8, Fast, nullptr), nullptr);
}

}  // namespace
