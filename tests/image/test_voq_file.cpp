#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TextureTestInputs.h"
#include "image/ImageVOQ.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"
#include "support/TestFiles.h"
#include "support/VoqBuilder.h"

using namespace ImageLib;
using Bytes = std::vector<uint8_t>;
using TestSupport::TempFolder;

namespace {

ImageOptions OptionsFor(int32_t format, int32_t mipMode = NoMipMap, int32_t mipLevels = 0) {
    ImageOptions options;
    options.format = format;
    options.mipMode = mipMode;
    options.mipLevels = mipLevels;
    return options;
}

// Runs the VOQ writer into a new file and returns whether it succeeded.
bool WriteVoq(CImage& image, const ImageOptions* options, const std::string& path) {
    Platform::FileHandle file = Platform::CreateOrTruncateFile(path.c_str());
    bool written = CImageVOQ::WriteImage(image, file, options);
    Platform::CloseFile(file);
    return written;
}

// Writes the image as a VOQ file and loads that file into `loaded`.
bool WriteAndLoad(CImage& image, const ImageOptions& options, CImageVOQ& loaded) {
    TempFolder folder;
    std::string path = folder.File("out.voq");
    return WriteVoq(image, &options, path) && loaded.Load(path.c_str());
}

// An image whose every byte differs from its neighbours.
void FillPattern(CImage& image, int32_t format, int32_t width, int32_t height) {
    ASSERT_TRUE(image.Create(format, width, height, format == Indexed ? 256 : 0, 0, 0, 0));
    int32_t size = image.GetImageSize(None, nullptr);
    for (int32_t i = 0; i < size; ++i) image.pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
    if (format == Indexed) {
        for (int32_t i = 0; i < 256 * 3; ++i) image.palette[i] = static_cast<uint8_t>(255 - i);
    }
}

TEST(VoqWriter, Rgb565Of32x32GivesTheKnownBytes) {
    CImage image;
    ASSERT_TRUE(image.Create(RGBA, 32, 32, 0, 0, 0, 0));
    for (int32_t i = 0; i < 32 * 32; ++i) {
        image.pixels[i * 4] = 255;  // pure red, alpha 9
        image.pixels[i * 4 + 3] = 9;
    }
    TempFolder folder;
    ImageOptions options = OptionsFor(RGB565);
    ASSERT_TRUE(WriteVoq(image, &options, folder.File("out.voq")));
    Bytes file = TestSupport::ReadBytes(folder.File("out.voq"));
    ASSERT_EQ(file.size(), 16u + 2048u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
              (Bytes{'R', 'g', 'b', '5', '6', '5', 0, 0, 0x20, 0, 0x20, 0, 0x01, 0, 0, 0}));
    for (size_t i = 16; i < file.size(); i += 2) {
        ASSERT_EQ(file[i], 0x00) << i;
        ASSERT_EQ(file[i + 1], 0xF8) << i;
    }
}

struct LayoutCase {
    int32_t imageFormat, width, height, textureFormat, mipMode;
    Bytes name;  // the 8 name bytes
    int32_t storedWidth, storedHeight, levels, dataSize;
};

std::string LayoutCaseName(const LayoutCase& c) {
    return TextureFormatLabel(c.textureFormat) + "_" + std::to_string(c.width) + "x" +
           std::to_string(c.height) + (c.mipMode == NoMipMap ? "_NoMips" : "_Mips");
}

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << LayoutCaseName(c); }


class VoqWriterLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(VoqWriterLayout, StoresThePaddedSizeAndTheLevels) {
    const LayoutCase& c = GetParam();
    CImage image;
    FillPattern(image, c.imageFormat, c.width, c.height);
    TempFolder folder;
    ImageOptions options = OptionsFor(c.textureFormat, c.mipMode);
    ASSERT_TRUE(WriteVoq(image, &options, folder.File("out.voq")));
    Bytes file = TestSupport::ReadBytes(folder.File("out.voq"));
    ASSERT_EQ(file.size(), static_cast<size_t>(16 + c.dataSize));
    Bytes expected = c.name;
    for (int32_t value : {c.storedWidth, c.storedHeight, c.levels, 0}) {
        expected.push_back(static_cast<uint8_t>(value));
        expected.push_back(static_cast<uint8_t>(value >> 8));
    }
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16), expected);
}

INSTANTIATE_TEST_SUITE_P(
    VoqWriter, VoqWriterLayout,
    testing::Values(LayoutCase{L, 100, 50, L8, GenerateMipMap, {'L', '8', 0, 0, 0, 0, 0, 0}, 128, 64, 1, 8192},
                    LayoutCase{RGBA, 64, 64, ETC1_A4, GenerateMipMap, {'E', 't', 'c', '1', '_', 'a', '4', 0}, 64, 64, 4,
                               4096 + 1024 + 256 + 64},
                    LayoutCase{RGB, 5, 3, RGBA8, NoMipMap, {'R', 'g', 'b', 'a', '8', 0, 0, 0}, 8, 8, 1, 256},
                    LayoutCase{LA, 256, 64, LA4, GenerateMipMap, {'L', 'a', '4', 0, 0, 0, 0, 0}, 256, 64, 4,
                               (16384 + 4096 + 1024 + 256)}),
    [](const testing::TestParamInfo<LayoutCase>& info) {
        return LayoutCaseName(info.param) + "_Case" + std::to_string(info.index);
    });

// Written as RGB8 with a chain, the file reads back as exactly the chain that was encoded.
TEST(VoqRoundTrip, Rgb8ReadsBackThePaddedChain) {
    CImage image;
    FillPattern(image, RGB, 32, 32);
    CImageVOQ loaded;
    ASSERT_TRUE(WriteAndLoad(image, OptionsFor(RGB8, GenerateMipMap), loaded));
    ASSERT_EQ(image.mipLevels, 3);
    EXPECT_EQ(loaded.textureFormat, RGB8);
    EXPECT_EQ(loaded.format, RGB);
    EXPECT_EQ(loaded.width, 32);
    EXPECT_EQ(loaded.mipLevels, 3);
    int32_t chainSize = image.GetMipImageSize(-1, None);
    ASSERT_EQ(loaded.GetMipImageSize(-1, None), chainSize);
    EXPECT_EQ(std::memcmp(loaded.mipChain.get(), image.mipChain.get(), chainSize), 0);
    EXPECT_EQ(std::memcmp(loaded.pixels.get(), image.pixels.get(), 32 * 32 * 3), 0);
}

TEST(VoqRoundTrip, NonPowerOfTwoReadsBackPaddedLevelZero) {
    CImage image;
    FillPattern(image, RGB, 10, 6);
    CImageVOQ loaded;
    ASSERT_TRUE(WriteAndLoad(image, OptionsFor(RGB8), loaded));
    EXPECT_EQ(loaded.width, 16);
    EXPECT_EQ(loaded.height, 8);
    EXPECT_EQ(std::memcmp(loaded.pixels.get(), image.mipChain.get(), 16 * 8 * 3), 0);
}

TEST(VoqRoundTrip, Rgb565ComesBackExpanded) {
    CImage image;
    ASSERT_TRUE(image.Create(RGB, 8, 8, 0, 0, 0, 0));
    for (int32_t i = 0; i < 64; ++i) {
        image.pixels[i * 3] = 132;     // red field 16 -> 131
        image.pixels[i * 3 + 1] = 128; // green field 32 -> 129
        image.pixels[i * 3 + 2] = 8;   // blue field 1 -> 8
    }
    CImageVOQ loaded;
    ASSERT_TRUE(WriteAndLoad(image, OptionsFor(RGB565), loaded));
    ASSERT_EQ(loaded.format, RGB);
    for (int32_t i = 0; i < 64; ++i) {
        EXPECT_EQ(loaded.pixels[i * 3], 131);
        EXPECT_EQ(loaded.pixels[i * 3 + 1], 129);
        EXPECT_EQ(loaded.pixels[i * 3 + 2], 8);
    }
}

TEST(VoqWriter, IndexedImageGivesTheFileOfItsRgbConversion) {
    CImage indexed;
    FillPattern(indexed, Indexed, 12, 9);
    CImage rgb;
    rgb.CopyFrom(indexed, RGB);
    TempFolder folder;
    ImageOptions options = OptionsFor(RGBA4, GenerateMipMap);
    ASSERT_TRUE(WriteVoq(indexed, &options, folder.File("indexed.voq")));
    ASSERT_TRUE(WriteVoq(rgb, &options, folder.File("rgb.voq")));
    EXPECT_EQ(TestSupport::ReadBytes(folder.File("indexed.voq")), TestSupport::ReadBytes(folder.File("rgb.voq")));
    EXPECT_EQ(indexed.mipLevels, 0);  // the caller's indexed image is not touched
}

TEST(VoqWriter, FailsAndWritesNothingWithoutOptionsOrFormat) {
    CImage image;
    FillPattern(image, RGB, 8, 8);
    TempFolder folder;
    const ImageOptions autoFormat = OptionsFor(ETC1_AUTO);
    const ImageOptions invalid = OptionsFor(INVALID);
    for (const ImageOptions* options : {static_cast<const ImageOptions*>(nullptr), &autoFormat, &invalid}) {
        EXPECT_FALSE(WriteVoq(image, options, folder.File("out.voq")));
        EXPECT_TRUE(TestSupport::ReadBytes(folder.File("out.voq")).empty());
    }
    EXPECT_FALSE(CImageVOQ::WriteImage(image, Platform::FileHandle(), &autoFormat));
}

// 40000 pixels pad to 65536, which the 16-bit header field would store as 0.
TEST(VoqWriter, LevelZeroWiderThanTheHeaderFailsBeforeWriting) {
    CImage image;
    ASSERT_TRUE(image.Create(L, 40000, 8, 0, 0, 0, 0));
    TempFolder folder;
    ImageOptions options = OptionsFor(L8);
    EXPECT_FALSE(WriteVoq(image, &options, folder.File("out.voq")));
    EXPECT_TRUE(TestSupport::ReadBytes(folder.File("out.voq")).empty());
}

TEST(VoqWriter, AFailedWriteFailsTheWriter) {
    CImage image;
    FillPattern(image, RGB, 8, 8);
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("read-only.voq"), {});
    Platform::FileHandle file = Platform::OpenFileForReading(folder.File("read-only.voq").c_str());
    ImageOptions options = OptionsFor(RGB8);
    EXPECT_FALSE(CImageVOQ::WriteImage(image, file, &options));
    Platform::CloseFile(file);
}

bool LoadVoq(const Bytes& bytes, CImageVOQ& image) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.voq"), bytes);
    return image.Load(folder.File("in.voq").c_str());
}

Bytes WithData(Bytes header, size_t dataSize) {
    for (size_t i = 0; i < dataSize; ++i) header.push_back(static_cast<uint8_t>(i));
    return header;
}

// An 8 x 8 L8 level stores its pixels in Morton order: 0 (0,0), 1 (1,0), 2 (0,1), 3 (1,1), 4 (2,0).
TEST(VoqReader, DecodesAHandMadeFileAndIgnoresTrailingBytes) {
    Bytes file = WithData(VoqHeaderBytes("L8", 8, 8, 1), 64);
    file.insert(file.end(), {1, 2, 3});
    CImageVOQ image;
    ASSERT_TRUE(LoadVoq(file, image));
    EXPECT_EQ(image.format, L);
    EXPECT_EQ(image.textureFormat, L8);
    EXPECT_EQ(image.width, 8);
    EXPECT_EQ(image.mipLevels, 1);
    EXPECT_EQ(image.pixels[0], 0);
    EXPECT_EQ(image.pixels[1], 1);
    EXPECT_EQ(image.pixels[8], 2);
    EXPECT_EQ(image.pixels[9], 3);
    EXPECT_EQ(image.pixels[2], 4);
    EXPECT_EQ(std::memcmp(image.pixels.get(), image.mipChain.get(), 64), 0);
}

TEST(VoqReader, LoadHeaderReadsOnlyTheHeader) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.voq"), VoqHeaderBytes("Etc1_a4", 32, 16, 2));  // no data at all
    CImageVOQ image;
    ASSERT_TRUE(image.LoadHeader(folder.File("in.voq").c_str()));
    EXPECT_EQ(image.textureFormat, ETC1_A4);
    EXPECT_EQ(image.format, RGBA);
    EXPECT_EQ(image.mipWidth[1], 16);
    EXPECT_EQ(image.mipHeight[1], 8);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_FALSE(image.Load(folder.File("in.voq").c_str()));
}

struct RefusalCase {
    const char* name;
    Bytes file;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class VoqReaderRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(VoqReaderRefusal, ReadFailsAndLeavesNoImage) {
    CImageVOQ image;
    EXPECT_FALSE(LoadVoq(GetParam().file, image));
}

const RefusalCase kRefusals[] = {
    {"name_in_capitals", WithData(VoqHeaderBytes("RGB8", 8, 8, 1), 192)},
    {"name_without_zero", WithData(VoqHeaderBytes("Rgb8\x01\x01\x01\x01", 8, 8, 1), 192)},
    {"empty_name", WithData(VoqHeaderBytes("", 8, 8, 1), 192)},
    {"no_levels", WithData(VoqHeaderBytes("L8", 8, 8, 0), 64)},
    {"ten_levels", WithData(VoqHeaderBytes("L8", 4096, 4096, 10), 0)},
    {"width_0", WithData(VoqHeaderBytes("L8", 0, 8, 1), 64)},
    {"height_4", WithData(VoqHeaderBytes("L8", 8, 4, 1), 64)},
    {"width_12", WithData(VoqHeaderBytes("L8", 12, 8, 1), 96)},
    {"level_below_a_tile", WithData(VoqHeaderBytes("L8", 16, 16, 3), 256 + 64 + 16)},
    {"etc1_level_below_a_tile", WithData(VoqHeaderBytes("Etc1", 16, 8, 2), 64 + 16)},
    {"sizes_past_int32", WithData(VoqHeaderBytes("Rgba8", 65528, 65528, 1), 16)},
    {"chain_past_int32", WithData(VoqHeaderBytes("L8", 65528, 32768, 2), 16)},
    {"short_header", Bytes{'L', '8', 0, 0, 0, 0, 0, 0, 8, 0, 8, 0, 1, 0, 0}},
    {"data_one_byte_short", WithData(VoqHeaderBytes("Rgb565", 8, 8, 1), 127)},
};

INSTANTIATE_TEST_SUITE_P(VoqReader, VoqReaderRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(VoqReader, CutDataPassesTheHeaderButNotTheBody) {
    TempFolder folder;
    TestSupport::WriteBytes(folder.File("in.voq"), WithData(VoqHeaderBytes("Rgba8", 16, 16, 2), 100));
    Platform::FileHandle file = Platform::OpenFileForReading(folder.File("in.voq").c_str());
    CImageVOQ image;
    EXPECT_TRUE(image.ReadHeader(file));
    EXPECT_FALSE(image.ReadBody(file));
    EXPECT_EQ(image.pixels, nullptr);
    Platform::CloseFile(file);
}

TEST(VoqReader, ARefusedHeaderEmptiesAnImageReadBefore) {
    CImageVOQ image;
    ASSERT_TRUE(LoadVoq(WithData(VoqHeaderBytes("L8", 8, 8, 1), 64), image));
    EXPECT_FALSE(LoadVoq(WithData(VoqHeaderBytes("L8", 12, 8, 1), 96), image));
    EXPECT_EQ(image.format, None);
    EXPECT_EQ(image.pixels, nullptr);
}

}  // namespace
