// The tuned level encoders and decoders against the plain per-pixel walk.
#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <vector>

#include "TextureReference.h"
#include "TextureTestInputs.h"
#include "image/DecoderPaths.h"
#include "image/Image.h"
#include "image/TextureCodecs.h"
#include "image/TextureFormat.h"

using namespace ImageLib;

namespace {

size_t TextureBytes(int32_t format, int32_t width, int32_t height) {
    return static_cast<size_t>(GetTextureDataSize(width, height, 1, format));
}

size_t PixelBytes(int32_t format, int32_t width, int32_t height) {
    return static_cast<size_t>(GetImageByteSize(GetImageFormatOf(format), width, height));
}

// Sizes of whole tiles, square and not, powers of two and not.
const std::vector<std::pair<int32_t, int32_t>> kSizes = {{8, 8},  {16, 8},  {8, 16},   {24, 40},
                                                         {64, 32}, {40, 24}, {128, 8}, {8, 136}};

using FormatAndSize = std::tuple<int32_t, std::pair<int32_t, int32_t>>;
class LevelEncoding : public testing::TestWithParam<FormatAndSize> {};
class LevelDecoding : public testing::TestWithParam<FormatAndSize> {};

TEST_P(LevelEncoding, EncoderWritesWhatTheWalkWrites) {
    const auto [format, size] = GetParam();
    const auto [width, height] = size;
    const std::vector<uint8_t> pixels = RandomBytes(static_cast<size_t>(width) * height * 4, 1);
    std::vector<uint8_t> fast(TextureBytes(format, width, height), 0xCD);
    std::vector<uint8_t> walk(fast.size(), 0xCD);
    GetLevelEncoder(format)(pixels.data(), fast.data(), width, height);
    TextureReference::EncodeLevel(format, pixels.data(), walk.data(), width, height);
    EXPECT_EQ(fast, walk);
}

TEST_P(LevelDecoding, DecoderWritesWhatTheWalkWrites) {
    const auto [format, size] = GetParam();
    const auto [width, height] = size;
    const std::vector<uint8_t> texture = RandomBytes(TextureBytes(format, width, height), 2);
    std::vector<uint8_t> fast(PixelBytes(format, width, height), 0xCD);
    std::vector<uint8_t> walk(fast.size(), 0xCD);
    DecodeTexture(format, texture.data(), fast.data(), width, height);
    TextureReference::DecodeLevel(format, texture.data(), walk.data(), width, height);
    EXPECT_EQ(fast, walk);
}

TEST_P(LevelEncoding, DecodingThenEncodingGivesTheSameBytes) {
    const auto [format, size] = GetParam();
    const auto [width, height] = size;
    const std::vector<uint8_t> texture = RandomBytes(TextureBytes(format, width, height), 3);
    std::vector<uint8_t> pixels(PixelBytes(format, width, height));
    DecodeTexture(format, texture.data(), pixels.data(), width, height);
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    ASSERT_TRUE(ConvertPixels(GetImageFormatOf(format), RGBA, pixels.data(), rgba.data(), nullptr, width, height));
    std::vector<uint8_t> again(texture.size());
    GetLevelEncoder(format)(rgba.data(), again.data(), width, height);
    EXPECT_EQ(again, texture);
}

// A level that is not whole tiles is left alone, never divided by a zero tile count.
TEST_P(LevelDecoding, LevelsThatAreNotWholeTilesAreSkipped) {
    const auto format = std::get<0>(GetParam());
    for (auto [width, height] : std::vector<std::pair<int32_t, int32_t>>{{4, 8}, {8, 4}, {12, 8}, {8, 12}, {0, 8}}) {
        const std::vector<uint8_t> input(1024, 0x5A);
        std::vector<uint8_t> output(1024, 0xCD);
        DecodeTexture(format, input.data(), output.data(), width, height);
        EXPECT_EQ(output, std::vector<uint8_t>(1024, 0xCD)) << width << "x" << height;
        if (format < ETC1) {
            GetLevelEncoder(format)(input.data(), output.data(), width, height);
            EXPECT_EQ(output, std::vector<uint8_t>(1024, 0xCD)) << width << "x" << height;
        }
    }
}

// ETC1 data is made by the ETC1 encoder, so only the twelve others are encoded here.
INSTANTIATE_TEST_SUITE_P(Texture, LevelEncoding,
                         testing::Combine(testing::Range<int32_t>(L4, ETC1), testing::ValuesIn(kSizes)));
INSTANTIATE_TEST_SUITE_P(Texture, LevelDecoding,
                         testing::Combine(testing::Range<int32_t>(L4, ETC1_A4 + 1), testing::ValuesIn(kSizes)));

struct DecoderPath {
    int32_t format;
    LevelDecoder portable, avx2;
};

void PrintTo(const DecoderPath& path, std::ostream* os) { *os << TextureFormatLabel(path.format); }

using PathAndSize = std::tuple<DecoderPath, std::pair<int32_t, int32_t>>;
class DecoderPaths : public testing::TestWithParam<PathAndSize> {};

std::string DecoderPathName(const testing::TestParamInfo<PathAndSize>& info) {
    const DecoderPath& path = std::get<0>(info.param);
    const std::pair<int32_t, int32_t>& size = std::get<1>(info.param);
    return std::string(GetTextureFormatName(path.format)) + "_" + std::to_string(size.first) + "x" +
           std::to_string(size.second);
}

// The portable and the AVX2 path both give what the per-pixel walk gives.
TEST_P(DecoderPaths, EveryPathMatchesTheWalk) {
    const auto [path, size] = GetParam();
    const auto [width, height] = size;
    const std::vector<uint8_t> texture = RandomBytes(TextureBytes(path.format, width, height), width * 7 + height);
    std::vector<uint8_t> walk(PixelBytes(path.format, width, height), 0xCD);
    TextureReference::DecodeLevel(path.format, texture.data(), walk.data(), width, height);
    std::vector<uint8_t> portable(walk.size(), 0xCD);
    path.portable(texture.data(), portable.data(), width, height);
    EXPECT_EQ(portable, walk);
    if (!Avx2::Supported()) GTEST_SKIP() << "no AVX2 on this processor";
    std::vector<uint8_t> avx2(walk.size(), 0xCD);
    path.avx2(texture.data(), avx2.data(), width, height);
    EXPECT_EQ(avx2, walk);
}

INSTANTIATE_TEST_SUITE_P(
    Texture, DecoderPaths,
    testing::Combine(testing::Values(DecoderPath{RGB565, Portable::DecodeLevelRGB565, Avx2::DecodeLevelRGB565},
                                     DecoderPath{RGB5_A1, Portable::DecodeLevelRGB5A1, Avx2::DecodeLevelRGB5A1},
                                     DecoderPath{RGBA4, Portable::DecodeLevelRGBA4, Avx2::DecodeLevelRGBA4},
                                     DecoderPath{ETC1, Portable::DecodeLevelETC1, Avx2::DecodeLevelETC1},
                                     DecoderPath{ETC1_A4, Portable::DecodeLevelETC1A4, Avx2::DecodeLevelETC1A4}),
                     testing::Values(std::pair{8, 8}, std::pair{16, 16}, std::pair{24, 8}, std::pair{8, 40},
                                     std::pair{64, 32}, std::pair{256, 256})),
    DecoderPathName);

TEST(DecodeTexture, UnknownFormatsWriteNothing) {
    const std::vector<uint8_t> input(256, 0x5A);
    for (int32_t format : {-1, 14, 15, 100}) {
        std::vector<uint8_t> output(256, 0xCD);
        DecodeTexture(format, input.data(), output.data(), 8, 8);
        EXPECT_EQ(output, std::vector<uint8_t>(256, 0xCD)) << format;
    }
    EXPECT_EQ(GetLevelEncoder(ETC1), nullptr);
    EXPECT_EQ(GetLevelEncoder(-1), nullptr);
}

int32_t g_etcCalls = 0;
int32_t g_etcFormat = -1;
int32_t g_etcQuality = -1;

int32_t CountingEtcEncoder(const uint8_t*, uint8_t* destination, int32_t width, int32_t height, int32_t format,
                           int32_t quality) {
    ++g_etcCalls;
    g_etcFormat = format;
    g_etcQuality = quality;
    destination[0] = static_cast<uint8_t>(width + height);
    return 0;
}

TEST(EncodeLevelEtc1, HandsTheLevelToTheEncoder) {
    std::vector<uint8_t> pixels(16 * 8 * 4), texture(128, 0);
    EncodeLevelETC1(pixels.data(), texture.data(), 16, 8, SlowPerceptual, CountingEtcEncoder);
    EXPECT_EQ(g_etcCalls, 1);
    EXPECT_EQ(g_etcFormat, ETC1);
    EXPECT_EQ(g_etcQuality, SlowPerceptual);
    EXPECT_EQ(texture[0], 24);
    EncodeLevelETC1A4(pixels.data(), texture.data(), 16, 8, Fast, CountingEtcEncoder);
    EXPECT_EQ(g_etcCalls, 2);
    EXPECT_EQ(g_etcFormat, ETC1_A4);
    EXPECT_EQ(g_etcQuality, Fast);
    texture.assign(texture.size(), 0);
    EncodeLevelETC1(pixels.data(), texture.data(), 16, 8, Fast, nullptr);
    EncodeLevelETC1A4(pixels.data(), texture.data(), 16, 8, Fast, nullptr);
    EXPECT_EQ(texture, std::vector<uint8_t>(128, 0));
    EXPECT_EQ(g_etcCalls, 2);
}

}  // namespace
