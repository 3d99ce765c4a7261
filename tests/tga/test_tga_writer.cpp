// The TGA writer's plain files byte for byte: header, colour map, pixel rows
// (raw and RLE) and footer, and the failures that leave no usable file.
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

#include "image/ImageFiles.h"
#include "image/ImageTGA.h"
#include "image/TgaWriter.h"
#include "platform/Files.h"
#include "support/TestFiles.h"
#include "tga/TgaWriteRun.h"

using namespace ImageLib;
using namespace TgaTest;

namespace {

const Bytes kFooter = Concat({U32(0), U32(0), Text("TRUEVISION-XFILE."), {0}});

// Header of a plain file: no image ID, no colour map.
Bytes PlainHeader(uint8_t type, uint8_t width, uint8_t height, uint8_t depth, uint8_t descriptor) {
    return {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, width, 0, height, 0, depth, descriptor};
}

ImageOptions PlainOptions(int32_t compression) {
    ImageOptions options;
    options.format = INVALID;
    options.tgaCompression = compression;
    return options;
}

struct PlainCase {
    const char* name;
    int32_t format;
    int32_t width;
    int32_t height;
    Bytes pixels;
    int32_t compression;  // -1: no options at all
    Bytes expected;
};

void PrintTo(const PlainCase& c, std::ostream* out) { *out << c.name; }

class PlainFileTable : public testing::TestWithParam<PlainCase> {};

TEST_P(PlainFileTable, WritesTheFileByteForByte) {
    const PlainCase& c = GetParam();
    CImage image;
    MakeImage(image, c.format, c.width, c.height, c.pixels);
    ImageOptions options = PlainOptions(c.compression);
    Bytes file;
    ASSERT_TRUE(WriteTga(image, c.compression < 0 ? nullptr : &options, file));
    EXPECT_EQ(file, c.expected);
}

// 2 x 2 RGB: top row (1,2,3) (4,5,6), bottom row (7,8,9) (10,11,12).
const Bytes kRgb2x2 = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};

INSTANTIATE_TEST_SUITE_P(
    TgaWriter, PlainFileTable,
    testing::Values(
        PlainCase{"rgbWithoutOptions", RGB, 2, 2, kRgb2x2, -1,
                  Concat({PlainHeader(2, 2, 2, 24, 0), {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}, kFooter})},
        PlainCase{"rgbRawFormat15", RGB, 2, 2, kRgb2x2, 0,
                  Concat({PlainHeader(2, 2, 2, 24, 0), {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}, kFooter})},
        PlainCase{"rgbRleFormat15", RGB, 2, 2, {1, 2, 3, 1, 2, 3, 7, 8, 9, 10, 11, 12}, 1,
                  Concat({PlainHeader(10, 2, 2, 24, 0), {0x01, 9, 8, 7, 12, 11, 10, 0x81, 3, 2, 1}, kFooter})},
        PlainCase{"laWrittenAsRgba", LA, 2, 1, {10, 200, 20, 100}, -1,
                  Concat({PlainHeader(2, 2, 1, 32, 8), {10, 10, 10, 200, 20, 20, 20, 100}, kFooter})},
        PlainCase{"rgba", RGBA, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}, -1,
                  Concat({PlainHeader(2, 1, 2, 32, 8), {7, 6, 5, 8, 3, 2, 1, 4}, kFooter})},
        PlainCase{"rgbaRle", RGBA, 3, 1, {1, 2, 3, 4, 1, 2, 3, 4, 1, 2, 3, 4}, 1,
                  Concat({PlainHeader(10, 3, 1, 32, 8), {0x82, 3, 2, 1, 4}, kFooter})},
        PlainCase{"grey", L, 3, 2, {1, 2, 3, 4, 5, 6}, 0,
                  Concat({PlainHeader(3, 3, 2, 8, 0), {4, 5, 6, 1, 2, 3}, kFooter})},
        PlainCase{"greyRle", L, 3, 2, {1, 2, 3, 4, 4, 4}, 1,
                  Concat({PlainHeader(11, 3, 2, 8, 0), {0x82, 4, 0x02, 1, 2, 3}, kFooter})},
        // Other tgaCompression values mean uncompressed.
        PlainCase{"compression2IsRaw", L, 2, 1, {5, 5}, 2, Concat({PlainHeader(3, 2, 1, 8, 0), {5, 5}, kFooter})}),
    [](const testing::TestParamInfo<PlainCase>& info) { return info.param.name; });

// 16 palette entries (i, 2i, 3i) and a 4 x 2 plane of indices.
Bytes Palette16() {
    Bytes palette;
    for (uint8_t i = 0; i < 16; ++i) palette.insert(palette.end(), {i, uint8_t(2 * i), uint8_t(3 * i)});
    return palette;
}

Bytes ColorMapBgr16() {
    Bytes stored;
    for (uint8_t i = 0; i < 16; ++i) stored.insert(stored.end(), {uint8_t(3 * i), uint8_t(2 * i), i});
    return stored;
}

TEST(TgaWriter, IndexedImageCarriesItsColourMap) {
    CImage image;
    MakeImage(image, Indexed, 4, 2, {0, 1, 2, 3, 15, 15, 15, 14}, Palette16());
    Bytes file;
    ASSERT_TRUE(WriteTga(image, nullptr, file));
    Bytes header = {0, 1, 1, 0, 0, 16, 0, 24, 0, 0, 0, 0, 4, 0, 2, 0, 8, 0};
    EXPECT_EQ(file, Concat({header, ColorMapBgr16(), {15, 15, 15, 14, 0, 1, 2, 3}, kFooter}));
}

TEST(TgaWriter, IndexedImageWithRleIsType9) {
    CImage image;
    MakeImage(image, Indexed, 4, 2, {0, 1, 2, 3, 15, 15, 15, 14}, Palette16());
    ImageOptions options = PlainOptions(1);
    Bytes file;
    ASSERT_TRUE(WriteTga(image, &options, file));
    Bytes header = {0, 1, 9, 0, 0, 16, 0, 24, 0, 0, 0, 0, 4, 0, 2, 0, 8, 0};
    EXPECT_EQ(file, Concat({header, ColorMapBgr16(), {0x82, 15, 0x00, 14, 0x03, 0, 1, 2, 3}, kFooter}));
}

TEST(TgaWriter, LeavesTheGivenImageUnchanged) {
    CImage image;
    MakeImage(image, LA, 2, 1, {10, 200, 20, 100});
    Bytes file;
    ASSERT_TRUE(WriteTga(image, nullptr, file));
    EXPECT_EQ(image.format, LA);
    EXPECT_EQ(Bytes(image.pixels.get(), image.pixels.get() + 4), (Bytes{10, 200, 20, 100}));
}

TEST(CImageTGAGetImageSize, IsThePixelDataAsWritten) {
    CImageTGA image;
    MakeImage(image, RGB, 2, 2, {1, 2, 3, 1, 2, 3, 7, 8, 9, 10, 11, 12});
    ImageOptions rle = PlainOptions(1);
    ImageOptions raw = PlainOptions(0);
    EXPECT_EQ(image.GetImageSize(None, &rle), 11);
    EXPECT_EQ(image.GetImageSize(RGBA, &rle), 11) << "RLE counts the own pixels whatever the format";
    EXPECT_EQ(image.GetImageSize(None, &raw), 12);
    EXPECT_EQ(image.GetImageSize(RGBA, nullptr), 16);
    EXPECT_EQ(image.GetImageSize(L, nullptr), 4);

    // Through the virtual slot, as the image model's own allocation calls it.
    const CImage& base = image;
    EXPECT_EQ(base.GetImageSize(None, &rle), 11);
}

TEST(TgaWriter, RefusesSidesBeyond16BitsBeforeWritingAnything) {
    TestSupport::TempFolder folder;
    for (auto [width, height] : {std::pair{65536, 1}, std::pair{1, 65536}}) {
        CImage image;
        ASSERT_TRUE(image.Create(L, width, height, 0, 0, 0, 0));
        std::string path = folder.File("big.tga");
        EXPECT_FALSE(SaveImage(&image, path.c_str(), nullptr));
        EXPECT_TRUE(folder.Entries().empty());
    }
    CImage widest;
    ASSERT_TRUE(widest.Create(L, 65535, 1, 0, 0, 0, 0));
    Bytes file;
    ASSERT_TRUE(WriteTga(widest, nullptr, file));
    EXPECT_EQ(file[12], 0xFF);
    EXPECT_EQ(file[13], 0xFF);
}

TEST(TgaWriter, RefusesAnEmptyImageOrAMissingFile) {
    CImage empty;
    Bytes file;
    EXPECT_FALSE(WriteTga(empty, nullptr, file));
    CImage image;
    MakeImage(image, L, 1, 1, {1});
    EXPECT_FALSE(CImageTGA::WriteImage(image, Platform::FileHandle(), nullptr));
}

// Every step fails on a device that takes no bytes.
TEST(TgaWriter, EveryStepFailsWhenItsWriteFails) {
    Platform::FileHandle full = Platform::CreateOrTruncateFile("/dev/full");
    ASSERT_TRUE(full.IsOpen());
    CImage image;
    MakeImage(image, RGB, 2, 2, kRgb2x2);
    ImageOptions rle = PlainOptions(1);
    EXPECT_FALSE(WriteHeader(image, full, nullptr));
    EXPECT_FALSE(WritePixels(image, full, nullptr));
    EXPECT_FALSE(WritePixels(image, full, &rle));
    EXPECT_FALSE(WriteFooter(full, nullptr));
    EXPECT_FALSE(CImageTGA::WriteImage(image, full, nullptr));
    Platform::CloseFile(full);
}

// The writer fails wherever the file stops taking bytes: in the header, the
// colour map, the pixel data or the footer.
TEST(TgaWriter, FailsWhenAnyWriteComesUpShort) {
    CImage image;
    MakeImage(image, Indexed, 4, 2, {0, 1, 2, 3, 15, 15, 15, 14}, Palette16());
    for (ImageOptions options : {PlainOptions(0), PlainOptions(1)}) ExpectFailureAtEveryShortWrite(image, options);
}

}  // namespace
