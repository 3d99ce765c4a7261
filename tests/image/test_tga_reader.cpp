#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "image/ImageTGA.h"
#include "support/TestFiles.h"
#include "support/TgaBuilder.h"

using namespace ImageLib;
using Bytes = std::vector<uint8_t>;
using TestSupport::TempFolder;

namespace {

bool LoadTga(const Bytes& bytes, CImageTGA& image) {
    TempFolder folder;
    std::string path = folder.File("image.tga");
    TestSupport::WriteBytes(path, bytes);
    return image.Load(path.c_str());
}

bool LoadTga(const TgaFile& file, CImageTGA& image) { return LoadTga(file.Bytes(), image); }

// An open file holding the bytes, for reading in steps.
class OpenTga {
public:
    explicit OpenTga(const TgaFile& file) : path_(folder_.File("image.tga")) {
        TestSupport::WriteBytes(path_, file.Bytes());
        handle = Platform::OpenFileForReading(path_.c_str());
    }
    ~OpenTga() { Platform::CloseFile(handle); }
    Platform::FileHandle handle;

private:
    TempFolder folder_;
    std::string path_;
};

Bytes PixelsOf(const CImage& image) {
    int32_t size = image.GetImageSize(None, nullptr);
    return Bytes(image.pixels.get(), image.pixels.get() + size);
}

// Four-entry colour map as stored (B, G, R) and the palette it gives (R, G, B).
const Bytes kStoredMap = {0, 0, 255, 0, 255, 0, 255, 0, 0, 9, 8, 7};
const Bytes kPalette = {255, 0, 0, 0, 255, 0, 0, 0, 255, 7, 8, 9};

// A 4 x 2 image per accepted depth, rows in file order. Equal pixels meet
// across the row boundary, so RLE packets run from one row into the next.
struct DepthCase {
    const char* name;
    uint8_t type;  // the uncompressed type; +8 is its RLE form
    uint8_t depth;
    int32_t format;
    Bytes stored;
    Bytes pixels;  // the same rows as image pixels
};

const DepthCase kDepthCases[] = {
    {"grey8", 3, 8, L, {10, 20, 30, 30, 30, 30, 40, 50}, {10, 20, 30, 30, 30, 30, 40, 50}},
    {"indexed8", 1, 8, Indexed, {0, 1, 3, 3, 3, 3, 2, 1}, {0, 1, 3, 3, 3, 3, 2, 1}},
    {"rgb16", 2, 16, RGB,
     {0xFF, 0x7F, 0x00, 0x80, 0x10, 0x42, 0x10, 0x42, 0x10, 0x42, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00},
     {255, 255, 255, 0, 0, 0, 131, 131, 131, 131, 131, 131, 131, 131, 131, 255, 0, 0, 0, 255, 0, 0, 0, 255}},
    {"rgb24", 2, 24, RGB,
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 7, 8, 9, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18},
     {3, 2, 1, 6, 5, 4, 9, 8, 7, 9, 8, 7, 9, 8, 7, 12, 11, 10, 15, 14, 13, 18, 17, 16}},
    {"rgba32", 2, 32, RGBA,
     {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 9, 10, 11, 12, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
     {3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 11, 10, 9, 12, 11, 10, 9, 12, 15, 14, 13, 16, 19, 18, 17, 20, 23, 22, 21, 24}},
};

// File-order rows rearranged as the descriptor says: bottom row first unless
// bit 5 is set, columns mirrored when bit 4 is set.
Bytes InImageOrder(const Bytes& rows, int32_t width, int32_t height, int32_t bytesPerPixel, uint8_t descriptor) {
    Bytes out(rows.size());
    for (int32_t y = 0; y < height; ++y) {
        int32_t fileRow = (descriptor & 0x20) ? y : height - 1 - y;
        for (int32_t x = 0; x < width; ++x) {
            int32_t fileColumn = (descriptor & 0x10) ? width - 1 - x : x;
            std::memcpy(&out[(y * width + x) * bytesPerPixel], &rows[(fileRow * width + fileColumn) * bytesPerPixel],
                        bytesPerPixel);
        }
    }
    return out;
}

void PrintTo(const DepthCase& c, std::ostream* out) { *out << c.name; }

using DepthParam = std::tuple<DepthCase, bool, uint8_t>;

class TgaDepthTable : public testing::TestWithParam<DepthParam> {};

TEST_P(TgaDepthTable, ReadsEveryTypeDepthAndOrigin) {
    const auto& [c, rle, descriptor] = GetParam();
    TgaFile file;
    file.imageType = static_cast<uint8_t>(c.type + (rle ? 8 : 0));
    file.pixelDepth = c.depth;
    file.width = 4;
    file.height = 2;
    file.descriptor = descriptor;
    file.data = rle ? PackRle(c.stored, c.depth / 8) : c.stored;
    if (c.format == Indexed) {
        file.colorMapType = 1;
        file.colorMapLength = 4;
        file.colorMapEntrySize = 24;
        file.colorMap = kStoredMap;
    }
    CImageTGA image;
    ASSERT_TRUE(LoadTga(file, image));
    EXPECT_EQ(image.format, c.format);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.mipLevels, 0);
    EXPECT_EQ(PixelsOf(image), InImageOrder(c.pixels, 4, 2, GetBytesPerPixel(c.format), descriptor));
    if (c.format == Indexed) {
        EXPECT_EQ(image.paletteCount, 4);
        EXPECT_EQ(Bytes(image.palette.get(), image.palette.get() + 12), kPalette);
    }
}

INSTANTIATE_TEST_SUITE_P(TgaReader, TgaDepthTable,
                         testing::Combine(testing::ValuesIn(kDepthCases), testing::Bool(),
                                          testing::Values(uint8_t{0x00}, uint8_t{0x20}, uint8_t{0x10}, uint8_t{0x30})),
                         [](const testing::TestParamInfo<DepthParam>& info) {
                             return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_rle" : "") +
                                    "_descriptor" + std::to_string(std::get<2>(info.param));
                         });

// Odd sides leave a middle row and a middle column that stay in place while
// the others trade places.
struct OddSideCase {
    const char* name;
    uint8_t type;
    uint8_t depth;
};

using OddSideParam = std::tuple<OddSideCase, uint8_t>;

class TgaOddSideTable : public testing::TestWithParam<OddSideParam> {};

TEST_P(TgaOddSideTable, PlacesEveryPixelOfA3x5Image) {
    const auto& [c, descriptor] = GetParam();
    const int32_t bytesPerPixel = c.depth / 8;
    TgaFile file;
    file.imageType = c.type;
    file.pixelDepth = c.depth;
    file.width = 3;
    file.height = 5;
    file.descriptor = descriptor;
    Bytes fileRows(static_cast<size_t>(3 * 5 * bytesPerPixel));
    for (size_t i = 0; i < fileRows.size(); ++i) fileRows[i] = static_cast<uint8_t>(i + 1);
    file.data = fileRows;
    // Stored B,G,R(,A) reads as R,G,B(,A).
    Bytes converted = fileRows;
    for (size_t i = 0; bytesPerPixel >= 3 && i < converted.size(); i += bytesPerPixel) {
        std::swap(converted[i], converted[i + 2]);
    }
    CImageTGA image;
    ASSERT_TRUE(LoadTga(file, image));
    EXPECT_EQ(PixelsOf(image), InImageOrder(converted, 3, 5, bytesPerPixel, descriptor));
}

INSTANTIATE_TEST_SUITE_P(TgaReader, TgaOddSideTable,
                         testing::Combine(testing::Values(OddSideCase{"grey8", 3, 8}, OddSideCase{"rgb24", 2, 24},
                                                          OddSideCase{"rgba32", 2, 32}),
                                          testing::Values(uint8_t{0x00}, uint8_t{0x20}, uint8_t{0x10}, uint8_t{0x30})),
                         [](const testing::TestParamInfo<OddSideParam>& info) {
                             return std::string(std::get<0>(info.param).name) + "_descriptor" +
                                    std::to_string(std::get<1>(info.param));
                         });

struct OriginCase {
    uint8_t descriptor;
    Bytes pixels;
};

void PrintTo(const OriginCase& c, std::ostream* out) { *out << int(c.descriptor); }

class TgaOriginTable : public testing::TestWithParam<OriginCase> {};

// 2 x 2 true colour, stored bottom row (B,G,R) 1..6, then top row 7..12.
TEST_P(TgaOriginTable, PlacesRowsAndColumnsByTheDescriptor) {
    TgaFile file;
    file.width = 2;
    file.height = 2;
    file.descriptor = GetParam().descriptor;
    file.data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    CImageTGA image;
    ASSERT_TRUE(LoadTga(file, image));
    EXPECT_EQ(PixelsOf(image), GetParam().pixels);
}

INSTANTIATE_TEST_SUITE_P(TgaReader, TgaOriginTable,
                         testing::Values(OriginCase{0x00, {9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}},
                                         OriginCase{0x20, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}},
                                         OriginCase{0x30, {6, 5, 4, 3, 2, 1, 12, 11, 10, 9, 8, 7}},
                                         OriginCase{0x10, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}},
                                         // The other descriptor bits (alpha depth) change nothing.
                                         OriginCase{0x28, {3, 2, 1, 6, 5, 4, 9, 8, 7, 12, 11, 10}}));

TEST(TgaReader, SkipsAnImageIdOfAnyLength) {
    for (size_t length : {0, 1, 255}) {
        TgaFile file;
        file.imageType = 3;
        file.pixelDepth = 8;
        file.id.assign(length, 0xEE);
        file.data = {42};
        CImageTGA image;
        ASSERT_TRUE(LoadTga(file, image)) << length;
        EXPECT_EQ(image.pixels[0], 42) << length;
    }
}

TEST(TgaReader, TrailingDataChangesNothing) {
    for (bool rle : {false, true}) {
        TgaFile file;
        file.imageType = rle ? 10 : 2;
        file.width = 2;
        file.data = rle ? Bytes{0x81, 1, 2, 3} : Bytes{1, 2, 3, 1, 2, 3};
        file.trailer = {'Q', 'X', 0x81, 0xFF, 0, 0, 'T', 'R', 'U', 'E', 'V', 'I', 'S', 'I', 'O', 'N', '.', 0};
        CImageTGA image;
        ASSERT_TRUE(LoadTga(file, image)) << rle;
        EXPECT_EQ(PixelsOf(image), (Bytes{3, 2, 1, 3, 2, 1})) << rle;
    }
}

// A true-colour or grey file may carry a colour map; the pixels follow it.
TEST(TgaReader, SkipsTheColourMapOfTrueColourAndGreyFiles) {
    struct MapCase {
        uint8_t type, depth, entrySize;
        uint16_t length;
    };
    for (MapCase m : {MapCase{2, 24, 24, 2}, MapCase{3, 8, 15, 3}, MapCase{11, 8, 32, 1}, MapCase{10, 32, 16, 5}}) {
        TgaFile file;
        file.imageType = m.type;
        file.pixelDepth = m.depth;
        file.colorMapType = 1;
        file.colorMapLength = m.length;
        file.colorMapEntrySize = m.entrySize;
        file.id = {1, 2, 3};
        file.colorMap.assign(m.length * ((m.entrySize + 7) / 8), 0xCC);
        Bytes pixel(m.depth / 8, 0x11);
        file.data = m.type & 8 ? Bytes{0x00} : Bytes{};
        file.data.insert(file.data.end(), pixel.begin(), pixel.end());
        CImageTGA image;
        ASSERT_TRUE(LoadTga(file, image)) << int(m.type);
        EXPECT_EQ(image.pixels[0], 0x11) << int(m.type);
    }
}

TEST(TgaReader, IndicesPastThePaletteReadAsBlack) {
    TgaFile file;
    file.imageType = 1;
    file.pixelDepth = 8;
    file.width = 3;
    file.colorMapType = 1;
    file.colorMapLength = 2;
    file.colorMapEntrySize = 24;
    file.colorMap = {10, 20, 30, 40, 50, 60};
    file.data = {1, 2, 255};
    CImageTGA image;
    ASSERT_TRUE(LoadTga(file, image));
    EXPECT_EQ(image.paletteCount, 2);
    Bytes rgb(9);
    ASSERT_TRUE(image.GetPixels(rgb.data(), 9, RGB));
    EXPECT_EQ(rgb, (Bytes{60, 50, 40, 0, 0, 0, 0, 0, 0}));
}

TEST(TgaReader, RunPacketFillsEqualPixels) {
    TgaFile file;
    file.imageType = 10;
    file.width = 2;
    file.data = {0x81, 7, 8, 9};
    CImageTGA image;
    ASSERT_TRUE(LoadTga(file, image));
    EXPECT_EQ(PixelsOf(image), (Bytes{9, 8, 7, 9, 8, 7}));
}

TEST(TgaReader, ReadHeaderLeavesTheFileAtThePixelData) {
    TgaFile file;
    file.imageType = 9;
    file.pixelDepth = 8;
    file.colorMapType = 1;
    file.colorMapLength = 4;
    file.colorMapEntrySize = 24;
    file.colorMap = kStoredMap;
    file.id = {5, 5};
    file.data = {0x00, 3};
    OpenTga open(file);
    CImageTGA image;
    ASSERT_TRUE(image.ReadHeader(open.handle));
    EXPECT_EQ(image.format, Indexed);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(Platform::SeekFile(open.handle, 0, Platform::SeekOrigin::Current), 18 + 2 + 12);
    ASSERT_TRUE(image.ReadBody(open.handle));
    EXPECT_EQ(image.pixels[0], 3);
}

TEST(TgaReader, NullHandlesAndABodyWithoutHeaderFail) {
    CImageTGA image;
    EXPECT_FALSE(image.Read(Platform::FileHandle()));
    EXPECT_FALSE(image.ReadHeader(Platform::FileHandle()));
    EXPECT_FALSE(image.ReadBody(Platform::FileHandle()));
    OpenTga open{TgaFile{}};
    EXPECT_FALSE(image.ReadBody(open.handle));
}

// Files the reader refuses, each a valid 1 x 1 true-colour file with one fault.
struct RefusalCase {
    const char* name;
    void (*spoil)(TgaFile&);
};

const RefusalCase kRefusals[] = {
    {"type0", [](TgaFile& f) { f.imageType = 0; }},
    {"type4", [](TgaFile& f) { f.imageType = 4; }},
    {"type8", [](TgaFile& f) { f.imageType = 8; }},
    {"type12", [](TgaFile& f) { f.imageType = 12; }},
    {"type32", [](TgaFile& f) { f.imageType = 32; }},
    {"truecolour_depth8", [](TgaFile& f) { f.pixelDepth = 8; f.data = {1}; }},
    {"truecolour_depth15", [](TgaFile& f) { f.pixelDepth = 15; f.data = {1, 2}; }},
    {"grey_depth16", [](TgaFile& f) { f.imageType = 3; f.pixelDepth = 16; f.data = {1, 2}; }},
    {"grey_rle_depth24", [](TgaFile& f) { f.imageType = 11; f.data = {0, 1, 2, 3}; }},
    {"mapped_depth16",
     [](TgaFile& f) {
         f.imageType = 1, f.pixelDepth = 16, f.colorMapLength = 1, f.colorMapEntrySize = 24;
         f.colorMap = {1, 2, 3};
         f.data = {0, 0};
     }},
    {"mapped_entry16",
     [](TgaFile& f) {
         f.imageType = 1, f.pixelDepth = 8, f.colorMapLength = 1, f.colorMapEntrySize = 16;
         f.colorMap = {1, 2};
         f.data = {0};
     }},
    {"mapped_empty_map", [](TgaFile& f) { f.imageType = 1, f.pixelDepth = 8, f.colorMapEntrySize = 24, f.data = {0}; }},
    {"mapped_rle_empty_map",
     [](TgaFile& f) { f.imageType = 9, f.pixelDepth = 8, f.colorMapEntrySize = 24, f.data = {0, 0}; }},
    {"mapped_257_entries",
     [](TgaFile& f) {
         f.imageType = 1, f.pixelDepth = 8, f.colorMapLength = 257, f.colorMapEntrySize = 24;
         f.colorMap.assign(257 * 3, 1);
         f.data = {0};
     }},
    {"mapped_short_map",
     [](TgaFile& f) {
         f.imageType = 1, f.pixelDepth = 8, f.colorMapLength = 4, f.colorMapEntrySize = 24;
         f.colorMap = {1, 2, 3};
         f.data.clear();
     }},
    {"width0", [](TgaFile& f) { f.width = 0; }},
    {"height0", [](TgaFile& f) { f.height = 0; }},
    {"mapped_width0",
     [](TgaFile& f) {
         f.imageType = 1, f.pixelDepth = 8, f.colorMapLength = 1, f.colorMapEntrySize = 24, f.width = 0;
         f.colorMap = {1, 2, 3};
     }},
    {"raw_data_short", [](TgaFile& f) { f.data = {1, 2}; }},
    {"no_data", [](TgaFile& f) { f.data.clear(); }},
    {"rle_no_data", [](TgaFile& f) { f.imageType = 10, f.data.clear(); }},
    {"rle_run_overfills", [](TgaFile& f) { f.imageType = 10, f.data = {0x81, 1, 2, 3}; }},
    {"rle_raw_overfills", [](TgaFile& f) { f.imageType = 10, f.data = {0x01, 1, 2, 3, 4, 5, 6}; }},
    {"rle_one_pixel_short", [](TgaFile& f) { f.imageType = 10, f.width = 3, f.data = {0x81, 1, 2, 3}; }},
    {"rle_raw_packet_cut", [](TgaFile& f) { f.imageType = 10, f.width = 2, f.data = {0x01, 1, 2, 3, 4}; }},
    {"rle_run_value_cut", [](TgaFile& f) { f.imageType = 10, f.width = 2, f.data = {0x81, 1, 2}; }},
    // Buffers over int32: refused from the header, before anything is allocated.
    {"rgba_65535_square", [](TgaFile& f) { f.pixelDepth = 32, f.width = 65535, f.height = 65535; }},
    {"rgb16_expands_past_int32", [](TgaFile& f) { f.pixelDepth = 16, f.width = 65535, f.height = 16384; }},
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class TgaRefusalTable : public testing::TestWithParam<RefusalCase> {};

TEST(TgaRefusalTable, TheUnspoiledFileLoads) {
    TgaFile file;
    file.data = {1, 2, 3};
    CImageTGA image;
    EXPECT_TRUE(LoadTga(file, image));
}

TEST_P(TgaRefusalTable, ReadFails) {
    TgaFile file;
    file.data = {1, 2, 3};
    GetParam().spoil(file);
    CImageTGA image;
    EXPECT_FALSE(LoadTga(file, image));
    // Nothing half read stays behind to be used as pixels.
    EXPECT_FALSE(image.pixels);
}

INSTANTIATE_TEST_SUITE_P(TgaReader, TgaRefusalTable, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(TgaReader, FileShorterThanAHeaderFails) {
    Bytes bytes = TgaFile{}.Bytes();
    bytes.resize(17);
    CImageTGA image;
    EXPECT_FALSE(LoadTga(bytes, image));
}

// A header of 2 GiB of grey pixels over three bytes of data: the header is
// accepted, the body is refused without allocating for the pixels.
TEST(TgaReader, DataTooShortForItsHeaderIsRefusedBeforeAllocating) {
    for (uint8_t type : {3, 11}) {
        TgaFile file;
        file.imageType = type;
        file.pixelDepth = 8;
        file.width = 46340;
        file.height = 46340;
        file.data = {0xFF, 1, 0xFF};
        OpenTga open(file);
        CImageTGA image;
        EXPECT_TRUE(image.ReadHeader(open.handle));
        EXPECT_FALSE(image.ReadBody(open.handle));
        EXPECT_EQ(image.pixels, nullptr);
    }
}

}  // namespace
