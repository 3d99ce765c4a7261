// TGA and VOQ inputs converted into VOQ files through the real binary; each
// output is checked against the library's own encoding of the same input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "image/ImageTGA.h"
#include "image/ImageVOQ.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"
#include "support/TgaBuilder.h"
#include "support/VoqBuilder.h"

using namespace ImageLib;
using Bytes = std::vector<uint8_t>;
using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;

namespace {

struct FormatOption {
    const char* name;  // the "-f" value
    int32_t format;
};

void PrintTo(const FormatOption& c, std::ostream* os) { *os << c.name; }


const FormatOption kFormats[] = {
    {"L4", L4},         {"L8", L8},     {"A4", A4},           {"A8", A8},       {"LA4", LA4},     {"LA8", LA8},
    {"HILO8", HILO8},   {"RGB565", RGB565}, {"RGB8", RGB8},   {"RGB5_A1", RGB5_A1}, {"RGBA4", RGBA4}, {"RGBA8", RGBA8},
};

struct MipOption {
    const char* value;  // the "-m" value
    int32_t mode;
    int32_t levels;
};

void PrintTo(const MipOption& c, std::ostream* os) { *os << "-m " << c.value; }


const MipOption kMipOptions[] = {{"0", NoMipMap, 0}, {"3", GenerateMipMap, 3}, {"max", GenerateMipMap, 0}};

// An RLE true-colour TGA with alpha, bottom row first, whose pixels all differ.
Bytes PatternTga(uint16_t width, uint16_t height) {
    TgaFile file;
    file.imageType = 10;
    file.pixelDepth = 32;
    file.width = width;
    file.height = height;
    Bytes stored(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < stored.size(); ++i) stored[i] = static_cast<uint8_t>(i * 7 + i / 13);
    file.data = PackRle(stored, 4);
    return file.Bytes();
}

// The VOQ file that the library itself makes of `image`.
Bytes ExpectedVoq(CImage& image, int32_t format, const MipOption& mip) {
    ImageOptions options;
    options.format = format;
    options.mipMode = mip.mode;
    options.mipLevels = mip.levels;
    ByteBuffer data = EncodeTexture(&image, &options);
    if (!data) return {};
    int32_t width = image.mipWidth[0];
    int32_t height = image.mipHeight[0];
    Bytes file = VoqHeaderBytes(GetTextureFormatName(format), static_cast<uint16_t>(width),
                                static_cast<uint16_t>(height), static_cast<uint16_t>(image.mipLevels));
    int32_t size = GetTextureDataSize(width, height, image.mipLevels, format);
    file.insert(file.end(), data.get(), data.get() + size);
    return file;
}

void ExpectConverted(const TempFolder& folder, const std::string& input, const std::string& format,
                     const MipOption& mip) {
    ConverterResult result =
        RunConverter({"-i", input, "-o", "out.voq", "-f", format, "-m", mip.value}, folder.Path());
    EXPECT_EQ(result.output, input + " -> out.voq \n");
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.errors, "");
}

using TgaToVoqParam = std::tuple<FormatOption, MipOption, std::pair<uint16_t, uint16_t>>;

class TgaToVoq : public testing::TestWithParam<TgaToVoqParam> {};

TEST_P(TgaToVoq, WritesTheLibrarysEncoding) {
    const auto& [format, mip, size] = GetParam();
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.tga"), PatternTga(size.first, size.second));
    ExpectConverted(folder, "in.tga", format.name, mip);

    CImageTGA source;
    ASSERT_TRUE(source.Load(folder.File("in.tga").c_str()));
    Bytes expected = ExpectedVoq(source, format.format, mip);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(TestSupport::ReadBytes(folder.File("out.voq")), expected);
    CImageVOQ written;
    EXPECT_TRUE(written.Load(folder.File("out.voq").c_str()));
    EXPECT_EQ(written.textureFormat, format.format);
}

std::string TgaToVoqName(const testing::TestParamInfo<TgaToVoqParam>& info) {
    const auto& [format, mip, size] = info.param;
    return std::string(format.name) + "_m" + mip.value + "_" + std::to_string(size.first) + "x" +
           std::to_string(size.second);
}

INSTANTIATE_TEST_SUITE_P(Converter, TgaToVoq,
                         testing::Combine(testing::ValuesIn(kFormats), testing::ValuesIn(kMipOptions),
                                          testing::Values(std::pair<uint16_t, uint16_t>{128, 64},
                                                          std::pair<uint16_t, uint16_t>{45, 30})),
                         TgaToVoqName);

TEST(VoqToVoq, ReencodesTheDecodedTexture) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.tga"), PatternTga(64, 32));
    const MipOption& all = kMipOptions[2];
    ExpectConverted(folder, "in.tga", "RGBA8", all);
    Bytes first = TestSupport::ReadBytes(folder.File("out.voq"));
    TestSupport::WriteBytes(folder.File("in.voq"), first);

    // RGBA8 loses nothing and the chain filters the same way again: the same file.
    ExpectConverted(folder, "in.voq", "RGBA8", all);
    EXPECT_EQ(TestSupport::ReadBytes(folder.File("out.voq")), first);

    ExpectConverted(folder, "in.voq", "RGB565", all);
    CImageVOQ source;
    ASSERT_TRUE(source.Load(folder.File("in.voq").c_str()));
    EXPECT_EQ(TestSupport::ReadBytes(folder.File("out.voq")), ExpectedVoq(source, RGB565, all));
}

struct BadInput {
    const char* name;
    const char* path;
    Bytes bytes;
};

void PrintTo(const BadInput& c, std::ostream* out) { *out << c.name; }

// The bytes cut to, or padded with zeros to, `size`.
Bytes Truncated(Bytes bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

Bytes WithByte(Bytes bytes, size_t at, uint8_t value) {
    bytes.at(at) = value;
    return bytes;
}

std::string BadInputName(const testing::TestParamInfo<BadInput>& info) { return info.param.name; }

class UnreadableInput : public testing::TestWithParam<BadInput> {};

TEST_P(UnreadableInput, IsNotSupportedAndLeavesNoOutput) {
    const BadInput& c = GetParam();
    TempFolder folder;
    TestSupport::WriteBytes(folder.File(c.path), c.bytes);
    ConverterResult result = RunConverter({"-i", c.path, "-o", "out.voq", "-f", "RGB8"}, folder.Path());
    EXPECT_EQ(result.output, std::string(c.path) + " -> out.voq \nnot support (" + c.path + ")\n");
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{c.path});
}

INSTANTIATE_TEST_SUITE_P(
    Converter, UnreadableInput,
    testing::Values(BadInput{"tga_header_only", "in.tga", Truncated(PatternTga(16, 16), 18)},
                    BadInput{"tga_cut_in_the_pixels", "in.tga", Truncated(PatternTga(16, 16), 200)},
                    BadInput{"tga_unknown_type", "in.tga", WithByte(PatternTga(8, 8), 2, 7)},
                    BadInput{"voq_cut_in_the_data", "in.voq", Truncated(VoqHeaderBytes("Rgb8", 8, 8, 1), 16)},
                    BadInput{"voq_unknown_name", "in.voq", Truncated(VoqHeaderBytes("Rgb9", 8, 8, 1), 16 + 192)},
                    BadInput{"voq_empty", "in.voq", Bytes{}}),
    BadInputName);

// A TGA 40000 pixels wide pads to 65536, which the VOQ header cannot hold.
TEST(TgaToVoqFailure, LevelZeroTooWideForTheHeaderIsNotSupported) {
    TempFolder folder;
    TgaFile file;
    file.imageType = 11;
    file.pixelDepth = 8;
    file.width = 40000;
    file.height = 8;
    for (int32_t run = 0; run < 40000 * 8 / 128; ++run) file.data.insert(file.data.end(), {0xFF, 0x40});  // 128 pixels each
    TestSupport::WriteBytes(folder.File("wide.tga"), file.Bytes());
    ConverterResult result = RunConverter({"-i", "wide.tga", "-o", "out.voq", "-f", "L8"}, folder.Path());
    EXPECT_EQ(result.output, "wide.tga -> out.voq \nnot support (out.voq)\n");
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"wide.tga"});
}

}  // namespace
