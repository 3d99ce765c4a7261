// ETC1 and ETC1_A4 textures through the real binary: TGA inputs converted into
// VOQ, TGA and FENK files with each method, compared with the library's own
// encoding and decoded back close to the source.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Encoder.h"
#include "image/Base64.h"
#include "image/ImageFENK.h"
#include "image/ImageTGA.h"
#include "image/ImageVOQ.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"
#include "support/ConverterRun.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "support/TgaBuilder.h"
#include "support/TgaTagChain.h"

using namespace ETC1Encoder;

using namespace ImageLib;
using Bytes = std::vector<uint8_t>;
using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;

namespace {

constexpr uint16_t kSide = 64;

// A photograph-like true-colour TGA: gradients with a little texture and a
// level of its own for every 4x4 block, and for 32 bits an alpha ramp. A block
// or tile in the wrong place shows as a large error.
Bytes PhotoLikeTga(uint8_t depth) {
    TgaFile file;
    file.pixelDepth = depth;
    file.width = kSide;
    file.height = kSide;
    for (int32_t y = 0; y < kSide; ++y) {
        for (int32_t x = 0; x < kSide; ++x) {
            int32_t block = ((x / 4) * 37 + (y / 4) * 53) % 48;
            int32_t red = 30 + 2 * x + 5 * (y / 8) + (x * y) % 5 + block;
            int32_t green = 20 + 2 * y + x / 2 + (x * 7 + y * 3) % 6 + block / 2;
            int32_t blue = 200 - 2 * x - y + (x * 13 + y * 5) % 7 - block;
            for (int32_t value : {blue, green, red})
                file.data.push_back(static_cast<uint8_t>(std::clamp(value, 0, 255)));
            if (depth == 32) file.data.push_back(static_cast<uint8_t>(4 * x + y / 16));
        }
    }
    return file.Bytes();
}

struct FormatCase {
    const char* name;  // the "-f" value
    uint8_t depth;     // of the input TGA
    int32_t written;   // the texture format of the output
};

void PrintTo(const FormatCase& c, std::ostream* os) { *os << c.name; }


const FormatCase kFormats[] = {{"ETC1", 24, ETC1},         {"ETC1_A4", 32, ETC1_A4}, {"ETC1_AUTO", 24, ETC1},
                               {"ETC1_AUTO", 32, ETC1_A4}, {"ETC1", 32, ETC1},       {"ETC1_A4", 24, ETC1_A4}};

struct MethodCase {
    const char* name;
    int32_t quality;
};

void PrintTo(const MethodCase& c, std::ostream* os) { *os << c.name; }


const MethodCase kFastMethods[] = {{"Fast", Fast}, {"FastPerceptual", FastPerceptual}};

struct MipCase {
    const char* value;
    int32_t mode;
    int32_t levels;
};

void PrintTo(const MipCase& c, std::ostream* os) { *os << "-m " << c.value; }


const MipCase kMips[] = {{"0", NoMipMap, 0}, {"2", GenerateMipMap, 2}, {"max", GenerateMipMap, 0}};

// The VOQ texture data that the library makes of `image` with the encoder itself,
// from an empty result cache as in a conversion.
Bytes ExpectedTextureData(CImage& image, int32_t format, int32_t quality, const MipCase& mip) {
    EmptyETC1Cache();
    g_etc1CacheMethod = -1;
    ImageOptions options;
    options.format = format;
    options.mipMode = mip.mode;
    options.mipLevels = mip.levels;
    options.etcQuality = quality;
    options.etcEncoder = EncodeETC1Image;
    testing::internal::CaptureStdout();  // the encoder's progress lines and closing newlines
    ByteBuffer data = EncodeTexture(&image, &options);
    testing::internal::GetCapturedStdout();
    if (!data) return {};
    int32_t size = GetTextureDataSize(image.mipWidth[0], image.mipHeight[0], image.mipLevels, format);
    return Bytes(data.get(), data.get() + size);
}

// RGB PSNR of level 0 of the decoded texture against the source.
double RgbPsnr(const CImage& source, const CImage& decoded) {
    Bytes original(static_cast<size_t>(kSide) * kSide * 4);
    Bytes result(original.size());
    EXPECT_TRUE(source.GetPixels(original.data(), static_cast<int32_t>(original.size()), RGBA));
    EXPECT_TRUE(decoded.GetPixels(result.data(), static_cast<int32_t>(result.size()), RGBA));
    double squared = 0.0;
    for (size_t i = 0; i < original.size(); ++i) {
        if (i % 4 == 3) continue;
        double d = static_cast<double>(original[i]) - result[i];
        squared += d * d;
    }
    double mse = squared / (static_cast<double>(kSide) * kSide * 3);
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

// Level 0's alpha decodes to the source's top four bits (times 17).
void ExpectFourBitAlpha(const CImage& source, const CImage& decoded) {
    Bytes original(static_cast<size_t>(kSide) * kSide * 4);
    Bytes result(original.size());
    ASSERT_TRUE(source.GetPixels(original.data(), static_cast<int32_t>(original.size()), RGBA));
    ASSERT_TRUE(decoded.GetPixels(result.data(), static_cast<int32_t>(result.size()), RGBA));
    for (size_t i = 3; i < original.size(); i += 4) ASSERT_EQ(result[i], (original[i] >> 4) * 17) << i / 4;
}

// A TGA file's developer tags name the texture format and carry `expected` as its data.
void ExpectTextureInTags(const Bytes& file, int32_t format, const Bytes& expected) {
    auto tags = TestSupport::ParseTags(file, TestSupport::FirstTagOffset(file));
    ASSERT_TRUE(tags.has_value());
    const TestSupport::TgaTag* name = TestSupport::FindTag(*tags, "qx5t_tfm");
    const TestSupport::TgaTag* data = TestSupport::FindTag(*tags, "qx5t_txd");
    ASSERT_NE(name, nullptr);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(name->payload.begin(), name->payload.end()), GetTextureFormatName(format));
    EXPECT_EQ(data->payload, expected);
}

using Etc1Param = std::tuple<FormatCase, MethodCase, MipCase>;

// Runs the converter on in.tga (written once per folder) into `output` with the case's settings.
ConverterResult ConvertPhoto(const TempFolder& folder, const Etc1Param& param, const char* output) {
    const auto& [format, method, mip] = param;
    if (!TestSupport::FileExists(folder.File("in.tga"))) {
        TestSupport::WriteBytes(folder.File("in.tga"), PhotoLikeTga(format.depth));
    }
    return RunConverter({"-i", "in.tga", "-o", output, "-f", format.name, "-e", method.name, "-m", mip.value},
                        folder.Path());
}

class TgaToEtc1Voq : public testing::TestWithParam<Etc1Param> {};

TEST_P(TgaToEtc1Voq, WritesTheEncodersBlocksAndDecodesCloseToTheSource) {
    const auto& [format, method, mip] = GetParam();
    TempFolder folder;
    ConverterResult result = ConvertPhoto(folder, GetParam(), "out.voq");
    ASSERT_EQ(result.exitStatus, 0) << result.output;

    CImageVOQ written;
    ASSERT_TRUE(written.Load(folder.File("out.voq").c_str()));
    EXPECT_EQ(written.textureFormat, format.written);
    // No progress lines for the Fast methods: only the closing newline of each level.
    EXPECT_EQ(result.output, "in.tga -> out.voq \n" + std::string(static_cast<size_t>(written.mipLevels), '\n'));

    CImageTGA source;
    ASSERT_TRUE(source.Load(folder.File("in.tga").c_str()));
    Bytes file = TestSupport::ReadBytes(folder.File("out.voq"));
    Bytes expected = ExpectedTextureData(source, format.written, method.quality, mip);
    ASSERT_FALSE(expected.empty());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + kVoqHeaderSize, file.end()));
    // Both methods reach about 38.5 dB here; two blocks of a tile exchanged give 25.5 dB.
    EXPECT_GT(RgbPsnr(source, written), 34.0);
    if (format.written == ETC1_A4 && format.depth == 32) ExpectFourBitAlpha(source, written);
}

// The same conversions into TGA files: the texture travels in the developer
// tags, byte for byte the library's encoding.
class TgaToEtc1Tga : public testing::TestWithParam<Etc1Param> {};

TEST_P(TgaToEtc1Tga, CarriesTheEncodersBlocksInItsTags) {
    const auto& [format, method, mip] = GetParam();
    TempFolder folder;
    ConverterResult result = ConvertPhoto(folder, GetParam(), "out.tga");
    ASSERT_EQ(result.exitStatus, 0) << result.output;

    CImageTGA source;
    ASSERT_TRUE(source.Load(folder.File("in.tga").c_str()));
    Bytes expected = ExpectedTextureData(source, format.written, method.quality, mip);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(result.output, "in.tga -> out.tga \n" + std::string(static_cast<size_t>(source.mipLevels), '\n'));
    ExpectTextureInTags(TestSupport::ReadBytes(folder.File("out.tga")), format.written, expected);
}

// And into FENK files: the Base64 levels decode to the very pixels of the VOQ
// file of the same conversion.
class TgaToEtc1Fenk : public testing::TestWithParam<Etc1Param> {};

TEST_P(TgaToEtc1Fenk, DecodesLikeTheVoqOfTheSameConversion) {
    const auto& [format, method, mip] = GetParam();
    TempFolder folder;
    for (const char* output : {"out.fenk", "out.voq"}) {
        ConverterResult result = ConvertPhoto(folder, GetParam(), output);
        ASSERT_EQ(result.exitStatus, 0) << result.output;
    }
    CImageFENK fenk;
    CImageVOQ voq;
    ASSERT_TRUE(fenk.Load(folder.File("out.fenk").c_str()));
    ASSERT_TRUE(voq.Load(folder.File("out.voq").c_str()));
    EXPECT_EQ(fenk.textureFormat, format.written);
    ASSERT_EQ(fenk.mipLevels, voq.mipLevels);
    int32_t size = voq.GetMipImageSize(-1, None);
    ASSERT_EQ(fenk.GetMipImageSize(-1, None), size);
    EXPECT_TRUE(std::equal(fenk.mipChain.get(), fenk.mipChain.get() + size, voq.mipChain.get()));
}

std::string Etc1ParamName(const testing::TestParamInfo<Etc1Param>& info) {
    const auto& [format, method, mip] = info.param;
    return std::string(format.name) + "_" + std::to_string(format.depth) + "bit_" + method.name + "_m" + mip.value;
}

INSTANTIATE_TEST_SUITE_P(Converter, TgaToEtc1Voq,
                         testing::Combine(testing::ValuesIn(kFormats), testing::ValuesIn(kFastMethods),
                                          testing::ValuesIn(kMips)),
                         Etc1ParamName);

INSTANTIATE_TEST_SUITE_P(Converter, TgaToEtc1Fenk,
                         testing::Combine(testing::ValuesIn(kFormats), testing::ValuesIn(kFastMethods),
                                          testing::ValuesIn(kMips)),
                         Etc1ParamName);

INSTANTIATE_TEST_SUITE_P(Converter, TgaToEtc1Tga,
                         testing::Combine(testing::ValuesIn(kFormats), testing::ValuesIn(kFastMethods),
                                          testing::ValuesIn(kMips)),
                         Etc1ParamName);

// The Medium and Slow methods go through the result cache, whose whole file
// (128 MB) each run writes into the test's folder: each method meets each output
// once, the formats and mip settings in turn; no "-e" is SlowPerceptual.
struct SearchRun {
    const char* method;  // the "-e" value, or null
    int32_t quality;
    FormatCase format;
    MipCase mip;
    const char* output;  // "out.voq", "out.tga" or "out.fenk"
};

void PrintTo(const SearchRun& c, std::ostream* os) {
    *os << (c.method != nullptr ? c.method : "default method") << " " << c.format.name << " -m " << c.mip.value << " "
        << c.output;
}


const SearchRun kSearchRuns[] = {
    {"Medium", Medium, kFormats[0], kMips[0], "out.voq"},
    {"Medium", Medium, kFormats[1], kMips[2], "out.tga"},
    {"Medium", Medium, kFormats[0], kMips[1], "out.fenk"},
    {"MediumPerceptual", MediumPerceptual, kFormats[1], kMips[1], "out.voq"},
    {"MediumPerceptual", MediumPerceptual, kFormats[0], kMips[2], "out.tga"},
    {"MediumPerceptual", MediumPerceptual, kFormats[1], kMips[0], "out.fenk"},
    {"Slow", Slow, kFormats[1], kMips[0], "out.voq"},
    {"Slow", Slow, kFormats[0], kMips[1], "out.tga"},
    {"Slow", Slow, kFormats[0], kMips[2], "out.fenk"},
    {"SlowPerceptual", SlowPerceptual, kFormats[0], kMips[2], "out.voq"},
    {"SlowPerceptual", SlowPerceptual, kFormats[1], kMips[0], "out.tga"},
    {"SlowPerceptual", SlowPerceptual, kFormats[1], kMips[1], "out.fenk"},
    {nullptr, SlowPerceptual, kFormats[0], kMips[1], "out.voq"},
    {nullptr, SlowPerceptual, kFormats[1], kMips[2], "out.fenk"},
};

// The searches reach about 39 dB here.
constexpr double kSearchPsnrFloor = 37.0;

// The VOQ file holds the expected data and decodes close to the source.
void ExpectVoqOfSearch(const TempFolder& folder, const CImage& source, const FormatCase& format,
                       const Bytes& expected) {
    Bytes file = TestSupport::ReadBytes(folder.File("out.voq"));
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), file.begin() + kVoqHeaderSize, file.end()));
    CImageVOQ written;
    ASSERT_TRUE(written.Load(folder.File("out.voq").c_str()));
    EXPECT_GT(RgbPsnr(source, written), kSearchPsnrFloor);
    if (format.written == ETC1_A4 && format.depth == 32) ExpectFourBitAlpha(source, written);
}

// The FENK file holds each level of the expected data as Base64 text, in order,
// and decodes close to the source.
void ExpectFenkOfSearch(const TempFolder& folder, const CImage& source, int32_t format, const Bytes& expected) {
    std::string text = TestSupport::ReadText(folder.File("out.fenk"));
    size_t offset = 0, position = 0;
    for (int32_t level = 0; level < source.mipLevels; ++level) {
        int32_t size = GetTextureDataSize(source.mipWidth[level], source.mipHeight[level], 1, format);
        std::string base64(static_cast<size_t>(Base64EncodedSize(size)), '\0');
        Base64Encode(base64.data(), expected.data() + offset, size);
        position = text.find("<PixelBasedImageVoq>" + base64 + "</PixelBasedImageVoq>", position);
        ASSERT_NE(position, std::string::npos) << "level " << level;
        offset += static_cast<size_t>(size);
    }
    CImageFENK written;
    ASSERT_TRUE(written.Load(folder.File("out.fenk").c_str()));
    EXPECT_GT(RgbPsnr(source, written), kSearchPsnrFloor);
}

class TgaToEtc1BySearch : public testing::TestWithParam<SearchRun> {};

TEST_P(TgaToEtc1BySearch, WritesTheEncodersBlocks) {
    const SearchRun& run = GetParam();
    TempFolder folder;
    TestSupport::ScopedEnvironment environment;
    environment.Set("APPDATA", folder.Path());
    TestSupport::WriteBytes(folder.File("in.tga"), PhotoLikeTga(run.format.depth));
    std::vector<std::string> arguments = {"-i", "in.tga", "-o", run.output, "-f", run.format.name, "-m", run.mip.value};
    if (run.method != nullptr) arguments.insert(arguments.end(), {"-e", run.method});
    ConverterResult result = RunConverter(arguments, folder.Path());
    ASSERT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_NE(result.output.find("Compressed 256 of 256 blocks, 100.0% finished."), std::string::npos);

    CImageTGA source;
    ASSERT_TRUE(source.Load(folder.File("in.tga").c_str()));
    Bytes expected = ExpectedTextureData(source, run.format.written, run.quality, run.mip);
    ASSERT_FALSE(expected.empty());
    std::string output = run.output;
    if (output == "out.voq") ExpectVoqOfSearch(folder, source, run.format, expected);
    if (output == "out.tga") ExpectTextureInTags(TestSupport::ReadBytes(folder.File(output)), run.format.written, expected);
    if (output == "out.fenk") ExpectFenkOfSearch(folder, source, run.format.written, expected);
}

std::string SearchRunName(const testing::TestParamInfo<SearchRun>& info) {
    const SearchRun& run = info.param;
    std::string output = run.output;
    return std::string(run.method != nullptr ? run.method : "Default") + "_" + run.format.name + "_m" + run.mip.value +
           "_" + output.substr(output.find('.') + 1);
}

INSTANTIATE_TEST_SUITE_P(Converter, TgaToEtc1BySearch, testing::ValuesIn(kSearchRuns), SearchRunName);

}  // namespace
