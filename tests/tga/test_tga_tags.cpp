// The developer tags of TGA files written with a texture format: the chain's
// order, sizes and payloads, the "qx5t_psh" size, and where the chain starts.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "image/ImageFiles.h"
#include "image/TgaRleEncoder.h"
#include "support/TestFiles.h"
#include "support/TgaTagChain.h"
#include "tga/TgaWriteRun.h"

using namespace ImageLib;
using namespace TgaTest;
using TestSupport::FindTag;
using TestSupport::FirstTagOffset;
using TestSupport::TgaTag;

namespace {

std::vector<TgaTag> ParseTags(const Bytes& bytes, size_t offset) {
    auto tags = TestSupport::ParseTags(bytes, offset);
    EXPECT_TRUE(tags.has_value()) << "the tag chain does not end at the end of the file";
    return tags.value_or(std::vector<TgaTag>{});
}

// Fills each ETC1 level with a byte that tells the format and the quality apart.
int32_t MarkingEtcEncoder(const uint8_t*, uint8_t* destination, int32_t width, int32_t height, int32_t format,
                          int32_t quality) {
    int32_t size = format == ETC1 ? width * height / 2 : width * height;
    std::memset(destination, 0x40 + format * 8 + quality, static_cast<size_t>(size));
    return 0;
}

struct NamedSize {
    std::string name;
    uint32_t size;
    bool operator==(const NamedSize&) const = default;
};

std::ostream& operator<<(std::ostream& out, const NamedSize& tag) { return out << tag.name << "(" << tag.size << ")"; }

std::vector<NamedSize> NamesAndSizes(const std::vector<TgaTag>& tags) {
    std::vector<NamedSize> list;
    for (const TgaTag& tag : tags) list.push_back({tag.name, tag.size});
    return list;
}

struct TagCase {
    const char* name;
    int32_t imageFormat;
    int32_t side;
    int32_t textureFormat;
    int32_t mipLevels;  // 0: no chain requested (NoMipMap)
    int32_t etcQuality;
    int32_t colorCorrection;
    std::vector<NamedSize> chain;
    std::vector<NamedSize> psh;  // the tags inside "qx5t_psh"
};

void PrintTo(const TagCase& c, std::ostream* out) { *out << c.name; }

ImageOptions OptionsOf(const TagCase& c) {
    ImageOptions options;
    options.format = c.textureFormat;
    options.mipMode = c.mipLevels > 0 ? GenerateMipMap : NoMipMap;
    options.mipLevels = c.mipLevels;
    options.etcQuality = c.etcQuality;
    options.etcEncoder = MarkingEtcEncoder;
    options.colorCorrection = c.colorCorrection;
    return options;
}

void MakeTestImage(CImage& image, int32_t format, int32_t side) {
    ASSERT_TRUE(image.Create(format, side, side, format == Indexed ? 16 : 0, 0, 0, 0));
    int32_t size = image.GetImageSize(None, nullptr);
    for (int32_t i = 0; i < size; ++i) image.pixels[i] = static_cast<uint8_t>(format == Indexed ? i / 5 % 16 : i * 7);
    for (int32_t i = 0; i < image.paletteCount * 3; ++i) image.palette[i] = static_cast<uint8_t>(i * 5);
}

class TagChainTable : public testing::TestWithParam<TagCase> {};

TEST_P(TagChainTable, WritesEveryTagInOrderWithItsSize) {
    const TagCase& c = GetParam();
    CImage image;
    MakeTestImage(image, c.imageFormat, c.side);
    ImageOptions options = OptionsOf(c);
    Bytes file;
    ASSERT_TRUE(WriteTga(image, &options, file));

    std::vector<TgaTag> tags = ParseTags(file, FirstTagOffset(file));
    EXPECT_EQ(NamesAndSizes(tags), c.chain);
    const TgaTag* psh = FindTag(tags, "qx5t_psh");
    ASSERT_NE(psh, nullptr);
    Bytes pshFile = psh->payload;
    EXPECT_EQ(NamesAndSizes(ParseTags(pshFile, 0)), c.psh);
}

constexpr char kTfm[] = "qx5t_tfm", kMps[] = "qx5t_mps", kTxd[] = "qx5t_txd", kGnm[] = "qx5t_gnm",
               kGvr[] = "qx5t_gvr", kPsh[] = "qx5t_psh", kEnd[] = "qx5t_end", kCct[] = "jx5t_cct";

// The RLE size of the 8 x 8 index plane of MakeTestImage: runs of 5 equal
// indices, cut by the row ends.
constexpr uint32_t kIndexPlaneRle = 38;

INSTANTIATE_TEST_SUITE_P(
    TgaTags, TagChainTable,
    testing::Values(
        TagCase{"rgba8Plain", RGBA, 8, RGBA8, 0, 0, NONE,
                {{kTfm, 17}, {kTxd, 12 + 256}, {kGnm, 41}, {kGvr, 17}, {kPsh, 27}, {kEnd, 12}},
                {{"psh_pver", 15}}},
        TagCase{"rgba8ThreeLevels", RGBA, 32, RGBA8, 3, 0, NONE,
                {{kTfm, 17}, {kMps, 13}, {kTxd, 12 + (1024 + 256 + 64) * 4}, {kGnm, 41}, {kGvr, 17}, {kPsh, 40},
                 {kEnd, 12}},
                {{"psh_pver", 15}, {"psh_gmip", 13}}},
        TagCase{"etc1Quality4", RGB, 16, ETC1, 0, MediumPerceptual, NONE,
                {{kTfm, 16}, {kTxd, 12 + 128}, {kGnm, 41}, {kGvr, 17}, {kPsh, 40}, {kEnd, 12}},
                {{"psh_pver", 15}, {"psh_etco", 13}}},
        TagCase{"greySource", L, 8, L8, 0, 0, NONE,
                {{kTfm, 14}, {kTxd, 12 + 64}, {kGnm, 41}, {kGvr, 17}, {kPsh, 39}, {kEnd, 12}},
                {{"psh_pver", 15}, {"psh_gray", 12}}},
        TagCase{"greyAlphaSource", LA, 8, LA8, 0, 0, NONE,
                {{kTfm, 15}, {kTxd, 12 + 128}, {kGnm, 41}, {kGvr, 17}, {kPsh, 39}, {kEnd, 12}},
                {{"psh_pver", 15}, {"psh_gray", 12}}},
        TagCase{"indexedSource", Indexed, 8, RGB8, 0, 0, NONE,
                {{kTfm, 16}, {kTxd, 12 + 192}, {kGnm, 41}, {kGvr, 17}, {kPsh, 27 + 48 + 24 + kIndexPlaneRle},
                 {kEnd, 12}},
                {{"psh_pver", 15}, {"psh_ctbl", 12 + 48}, {"psh_cidx", 12 + kIndexPlaneRle}}},
        TagCase{"colourCorrection", RGB, 8, RGB8, 0, 0, VOQ_AVG,
                {{kTfm, 16}, {kTxd, 12 + 192}, {kGnm, 41}, {kGvr, 17}, {kPsh, 27}, {kEnd, 12}, {kCct, 19}},
                {{"psh_pver", 15}}},
        // Every optional tag at once: 32, 16 and 8 are all the levels of ETC1_A4.
        TagCase{"everything", LA, 32, ETC1_A4, 9, SlowPerceptual, VOQ_TOP,
                {{kTfm, 19}, {kMps, 13}, {kTxd, 12 + 1024 + 256 + 64}, {kGnm, 41}, {kGvr, 17}, {kPsh, 65},
                 {kEnd, 12}, {kCct, 19}},
                {{"psh_pver", 15}, {"psh_gmip", 13}, {"psh_etco", 13}, {"psh_gray", 12}}}),
    [](const testing::TestParamInfo<TagCase>& info) { return info.param.name; });

std::vector<TgaTag> WriteAndParse(CImage& image, const ImageOptions& options) {
    Bytes file;
    EXPECT_TRUE(WriteTga(image, &options, file));
    return ParseTags(file, FirstTagOffset(file));
}

TEST(TgaTags, PayloadsOfTheFixedTags) {
    CImage image;
    MakeTestImage(image, LA, 32);
    TagCase c{"", LA, 32, ETC1_A4, 9, SlowPerceptual, VOQ_TOP, {}, {}};
    std::vector<TgaTag> tags = WriteAndParse(image, OptionsOf(c));
    ASSERT_EQ(tags.size(), 8u);
    EXPECT_EQ(tags[0].payload, Text("Etc1_a4"));
    EXPECT_EQ(tags[1].payload, Text("3"));
    EXPECT_EQ(tags[3].payload, Text("QX5T_Tga for PaintDesk 10.0.0"));
    EXPECT_EQ(tags[4].payload, Text("1.0.0"));
    EXPECT_EQ(tags[6].payload, Bytes());
    EXPECT_EQ(tags[7].payload, Text("VOQ_TOP"));

    std::vector<TgaTag> psh = ParseTags(tags[5].payload, 0);
    ASSERT_EQ(psh.size(), 4u);
    EXPECT_EQ(psh[0].payload, Text("1.0"));
    EXPECT_EQ(psh[1].payload, Text("3"));
    EXPECT_EQ(psh[2].payload, Bytes{SlowPerceptual}) << "the quality itself, not its digit";
    EXPECT_EQ(psh[3].payload, Bytes());
}

TEST(TgaTags, TextureDataIsWhatTheEncoderWroteForEveryLevel) {
    CImage image;
    MakeTestImage(image, RGB, 32);
    TagCase c{"", RGB, 32, ETC1, 0, Medium, NONE, {}, {}};
    ImageOptions options = OptionsOf(c);
    options.mipMode = GenerateMipMap;
    std::vector<TgaTag> tags = WriteAndParse(image, options);
    const TgaTag* txd = FindTag(tags, kTxd);
    ASSERT_NE(txd, nullptr);
    // 32 and 16: ETC1 levels are at least 16 wide.
    EXPECT_EQ(txd->payload, Bytes(512 + 128, 0x40 + ETC1 * 8 + Medium));
    EXPECT_EQ(FindTag(tags, kMps)->payload, Text("2"));
}

TEST(TgaTags, PaletteAndIndexPlaneDescribeTheGivenImage) {
    CImage image;
    MakeTestImage(image, Indexed, 8);
    TagCase c{"", Indexed, 8, RGB8, 0, 0, NONE, {}, {}};
    std::vector<TgaTag> tags = WriteAndParse(image, OptionsOf(c));
    std::vector<TgaTag> psh = ParseTags(FindTag(tags, kPsh)->payload, 0);
    ASSERT_EQ(psh.size(), 3u);
    EXPECT_EQ(psh[1].payload, Bytes(image.palette.get(), image.palette.get() + 48)) << "R, G, B, not reversed";
    Bytes plane(kIndexPlaneRle);
    EncodeRle(image.pixels.get(), plane.data(), 8, 8, 1, false);
    EXPECT_EQ(psh[2].payload, plane);
    EXPECT_EQ(psh[2].payload[1], 0) << "rows top-down: the plane starts with row 0";
}

// An L image with a texture format: an RGB file with the image ID and no footer.
TEST(TgaTags, GreyImageIsWrittenAsRgbWithTheImageId) {
    CImage image;
    MakeImage(image, L, 2, 2, {10, 20, 30, 40});
    ImageOptions options;
    options.format = L8;
    Bytes file;
    ASSERT_TRUE(WriteTga(image, &options, file));
    Bytes expected = Concat({{20, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0},
                             Text("QX5T_Tga Ver1.0"), {0}, U32(50),
                             {30, 30, 30, 40, 40, 40, 10, 10, 10, 20, 20, 20}});
    ASSERT_GT(file.size(), expected.size());
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 50), expected);
    EXPECT_EQ(std::string(file.begin() + 50, file.begin() + 58), "qx5t_tfm");
    std::vector<TgaTag> tags = ParseTags(file, 50);
    EXPECT_EQ(tags.back().name, kEnd) << "the file ends with the last tag, no footer";
}

// The image ID's offset is where the tags start, raw and RLE: 38 + the pixel data.
TEST(TgaTags, FirstTagStartsWhereTheImageIdSays) {
    CImage image;
    // Top row one run (1 + 3 bytes), bottom row one raw packet (1 + 9).
    MakeImage(image, RGB, 3, 2, {1, 2, 3, 1, 2, 3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 4, 5, 6});
    EXPECT_EQ(GetRleSize(image), 14);
    for (auto [compression, pixelBytes] : {std::pair{0, 18u}, std::pair{1, 14u}}) {
        ImageOptions options;
        options.format = RGB8;
        options.tgaCompression = compression;
        Bytes file;
        ASSERT_TRUE(WriteTga(image, &options, file));
        EXPECT_EQ(file[2], compression == 1 ? 10 : 2);
        EXPECT_EQ(FirstTagOffset(file), 38 + pixelBytes);
        EXPECT_EQ(std::string(file.begin() + 38 + pixelBytes, file.begin() + 46 + pixelBytes), "qx5t_tfm");
    }
}

// The texture in the tags is the one the VOQ writer stores for the same image
// and options, whatever layout the TGA writer turned the image into first.
class TextureDataAsVoq : public testing::TestWithParam<TagCase> {};

TEST_P(TextureDataAsVoq, TagHoldsTheVoqTextureData) {
    const TagCase& c = GetParam();
    ImageOptions options = OptionsOf(c);
    TestSupport::TempFolder folder;
    for (const char* name : {"out.voq", "out.tga"}) {
        CImage image;
        MakeTestImage(image, c.imageFormat, c.side);
        ASSERT_TRUE(SaveImage(&image, folder.File(name).c_str(), &options)) << name;
    }
    Bytes voq = TestSupport::ReadBytes(folder.File("out.voq"));
    Bytes tga = TestSupport::ReadBytes(folder.File("out.tga"));
    std::vector<TgaTag> tags = ParseTags(tga, FirstTagOffset(tga));
    const TgaTag* data = FindTag(tags, kTxd);
    ASSERT_NE(data, nullptr);
    ASSERT_GT(voq.size(), 16u);
    EXPECT_EQ(data->payload, Bytes(voq.begin() + 16, voq.end()));
}

INSTANTIATE_TEST_SUITE_P(TgaTags, TextureDataAsVoq,
                         testing::Values(TagCase{"grey", L, 16, RGBA8, 9, 0, VOQ_AVG, {}, {}},
                                         TagCase{"greyAlpha", LA, 16, LA4, 2, 0, NONE, {}, {}},
                                         TagCase{"indexed", Indexed, 16, RGB565, 0, 0, VOQ_INV_TOP, {}, {}},
                                         TagCase{"rgb", RGB, 32, ETC1, 9, Fast, VOQ_BTM, {}, {}},
                                         TagCase{"rgba", RGBA, 32, RGBA4, 3, 0, NONE, {}, {}}),
                         [](const testing::TestParamInfo<TagCase>& info) { return info.param.name; });

TEST(TgaTags, FormatWithoutTextureDataFailsTheWrite) {
    CImage image;
    MakeTestImage(image, RGB, 8);
    ImageOptions options;
    options.format = ETC1_AUTO;
    Bytes file;
    EXPECT_FALSE(WriteTga(image, &options, file));
}

// Wherever the file stops taking bytes, in the header, the image ID, the pixel
// data or any tag, the writer fails.
TEST(TgaTags, FailsWhenAnyWriteComesUpShort) {
    CImage image;
    MakeTestImage(image, Indexed, 8);
    TagCase c{"", Indexed, 8, RGB8, 0, 0, VOQ_BTM, {}, {}};
    ImageOptions options = OptionsOf(c);
    options.tgaCompression = 1;
    ExpectFailureAtEveryShortWrite(image, options);
}

}  // namespace
