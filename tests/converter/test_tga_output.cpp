// TGA outputs through the converter binary: TGA and VOQ inputs, raw and RLE
// pixel data, colour mapping and mip chains, read back by the TGA reader.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "image/ImageFiles.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"
#include "support/TgaTagChain.h"

using namespace ImageLib;
using Bytes = std::vector<uint8_t>;
using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;
using TestSupport::TgaTag;

namespace {

const std::string kSample = std::string(BWVOQ_SAMPLES_DIR) + "/chelsea.tga";

std::unique_ptr<CImage> LoadImage(const std::string& path) {
    return std::unique_ptr<CImage>(CreateImageFromFile(path.c_str()));
}

Bytes PixelsOf(const CImage& image) {
    return Bytes(image.pixels.get(), image.pixels.get() + image.GetImageSize(None, nullptr));
}

std::string PayloadText(const TgaTag* tag) { return tag ? std::string(tag->payload.begin(), tag->payload.end()) : ""; }

struct OutputCase {
    const char* name;
    std::vector<std::string> options;  // besides -i, -o and -f RGB8
    uint8_t imageType;
    int32_t levels;          // in the texture data: 256, 128, ... down to 8 at most
    const char* correction;  // "jx5t_cct" payload, or empty for none
};

void PrintTo(const OutputCase& c, std::ostream* out) { *out << c.name; }

// Texture bytes of `levels` RGB8 levels from 256 x 256.
uint32_t Rgb8DataSize(int32_t levels) {
    uint32_t size = 0;
    for (int32_t i = 0, side = 256; i < levels; ++i, side /= 2) size += static_cast<uint32_t>(side * side * 3);
    return size;
}

// Converts `input` to out.tga as RGB8 and checks the file: image type, tags,
// and pixels that read back as those of the input.
void ExpectTgaOutput(const TempFolder& folder, const std::string& input, const OutputCase& c) {
    std::vector<std::string> arguments = {"-i", input, "-o", "out.tga", "-f", "RGB8"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    ConverterResult result = RunConverter(arguments, folder.Path());
    ASSERT_EQ(result.exitStatus, 0) << result.output;

    Bytes file = TestSupport::ReadBytes(folder.File("out.tga"));
    ASSERT_GT(file.size(), 38u);
    EXPECT_EQ(file[2], c.imageType);
    auto tags = TestSupport::ParseTags(file, TestSupport::FirstTagOffset(file));
    ASSERT_TRUE(tags.has_value());
    EXPECT_EQ(PayloadText(FindTag(*tags, "qx5t_tfm")), "Rgb8");
    const TgaTag* data = FindTag(*tags, "qx5t_txd");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->size, 12 + Rgb8DataSize(c.levels));
    EXPECT_EQ(PayloadText(FindTag(*tags, "qx5t_mps")), c.levels > 1 ? std::to_string(c.levels) : "");
    EXPECT_EQ(PayloadText(FindTag(*tags, "jx5t_cct")), c.correction);
    EXPECT_EQ(tags->back().name, std::string(*c.correction ? "jx5t_cct" : "qx5t_end"));

    std::unique_ptr<CImage> source = LoadImage(folder.File(input));
    std::unique_ptr<CImage> written = LoadImage(folder.File("out.tga"));
    ASSERT_NE(source, nullptr);
    ASSERT_NE(written, nullptr);
    EXPECT_EQ(written->format, source->format);
    EXPECT_EQ(written->width, source->width);
    EXPECT_EQ(written->height, source->height);
    EXPECT_EQ(PixelsOf(*written), PixelsOf(*source));
}

const std::vector<OutputCase> kCases = {
    {"rle", {"-c", "rle"}, 10, 1, ""},
    {"none", {"-c", "none"}, 2, 1, ""},
    {"defaultIsRaw", {}, 2, 1, ""},
    {"rleWithMapping", {"-c", "rle", "-t", "VOQ_AVG"}, 10, 1, "VOQ_AVG"},
    {"noneWithMapping", {"-c", "none", "-t", "VOQ_TOP"}, 2, 1, "VOQ_TOP"},
    {"rleThreeLevels", {"-c", "rle", "-m", "3"}, 10, 3, ""},
    {"noneAllLevelsWithMapping", {"-c", "none", "-m", "MAX", "-t", "VOQ_BTM"}, 2, 6, "VOQ_BTM"},
};

class TgaInputToTga : public testing::TestWithParam<OutputCase> {};

TEST_P(TgaInputToTga, WritesTheTextureAndThePixels) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.tga"), TestSupport::ReadBytes(kSample));
    ExpectTgaOutput(folder, "in.tga", GetParam());
}

INSTANTIATE_TEST_SUITE_P(TgaOutput, TgaInputToTga, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OutputCase>& info) { return info.param.name; });

class VoqInputToTga : public testing::TestWithParam<OutputCase> {};

TEST_P(VoqInputToTga, WritesTheTextureAndThePixels) {
    TempFolder folder;
    ConverterResult made = RunConverter({"-i", kSample, "-o", folder.File("in.voq"), "-f", "RGBA8"});
    ASSERT_EQ(made.exitStatus, 0) << made.output;
    ExpectTgaOutput(folder, "in.voq", GetParam());
}

INSTANTIATE_TEST_SUITE_P(TgaOutput, VoqInputToTga, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<OutputCase>& info) { return info.param.name; });

// The texture in the TGA tags is the texture of the VOQ file made with the same options.
TEST(TgaOutput, TextureDataEqualsTheVoqFile) {
    TempFolder folder;
    std::vector<std::string> options = {"-f", "RGB565", "-m", "MAX", "-t", "VOQ_AVG", "-c", "rle"};
    for (const char* output : {"out.voq", "out.tga"}) {
        std::vector<std::string> arguments = {"-i", kSample, "-o", folder.File(output)};
        arguments.insert(arguments.end(), options.begin(), options.end());
        ASSERT_EQ(RunConverter(arguments).exitStatus, 0) << output;
    }
    Bytes voq = TestSupport::ReadBytes(folder.File("out.voq"));
    Bytes tga = TestSupport::ReadBytes(folder.File("out.tga"));
    auto tags = TestSupport::ParseTags(tga, TestSupport::FirstTagOffset(tga));
    ASSERT_TRUE(tags.has_value());
    const TgaTag* data = FindTag(*tags, "qx5t_txd");
    ASSERT_NE(data, nullptr);
    ASSERT_GT(voq.size(), 16u);
    EXPECT_EQ(data->payload, Bytes(voq.begin() + 16, voq.end()));
}

}  // namespace
