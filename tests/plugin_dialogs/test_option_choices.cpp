#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/Image.h"
#include "plugin/OptionChoices.h"

using namespace ImageLib;
using namespace FormatPlugin;

namespace {

TEST(ProposedFormat, FollowsTheDocumentKind) {
    EXPECT_EQ(ProposedTextureFormat(L), L8);
    EXPECT_EQ(ProposedTextureFormat(LA), LA8);
    EXPECT_EQ(ProposedTextureFormat(RGB), RGB8);
    EXPECT_EQ(ProposedTextureFormat(RGBA), RGBA8);
    EXPECT_EQ(ProposedTextureFormat(Indexed), RGB8);
}

TEST(MipLevelList, OfA4096SquareDocumentCountsDownFromTen) {
    const int32_t maxLevels = MaxListedMipLevels(4096, 4096);
    ASSERT_EQ(maxLevels, 10);
    const std::vector<std::string> expected{"ALL", "10", "9", "8", "7", "6", "5", "4", "3", "2"};
    EXPECT_EQ(MipLevelEntries(maxLevels), expected);
    EXPECT_EQ(MipLevelsOfEntry(maxLevels, 0), 0);
    EXPECT_EQ(MipLevelsOfEntry(maxLevels, 1), 10);
    EXPECT_EQ(MipLevelsOfEntry(maxLevels, 9), 2);
    EXPECT_EQ(EntryOfMipLevels(maxLevels, 10), 1);
    EXPECT_EQ(EntryOfMipLevels(maxLevels, 2), 9);
}

TEST(MipLevelList, OfSidesThatAreNotPowersOfTwoHoldsAllAlone) {
    EXPECT_EQ(MipLevelEntries(MaxListedMipLevels(100, 64)), std::vector<std::string>{"ALL"});
    EXPECT_EQ(MipLevelEntries(MaxListedMipLevels(64, 48)), std::vector<std::string>{"ALL"});
}

TEST(MipLevelList, ACountTheListDoesNotHoldShowsAll) {
    EXPECT_EQ(EntryOfMipLevels(4, 0), 0);
    EXPECT_EQ(EntryOfMipLevels(4, 5), 0);
    EXPECT_EQ(EntryOfMipLevels(4, 1), 0);
    EXPECT_EQ(EntryOfMipLevels(4, 3), 2);
}

struct SizeTextCase {
    const char* name;
    int32_t size;
    const char* text;
};

class SizeTexts : public testing::TestWithParam<SizeTextCase> {};

TEST_P(SizeTexts, Format) { EXPECT_EQ(SizeText(GetParam().size), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Dialog, SizeTexts,
    testing::Values(SizeTextCase{"Zero", 0, "0 byte"}, SizeTextCase{"JustBelowAKilobyte", 1023, "1023 byte"},
                    SizeTextCase{"OneKilobyte", 1024, "1.0 KB (1024 byte)"},
                    SizeTextCase{"JustBelowAMegabyte", 1048575, "1024.0 KB (1048575 byte)"},
                    SizeTextCase{"OneAndAHalfMegabytes", 1572864, "1.5 MB (1572864 byte)"},
                    // Single precision rounds this one down where a double would give 16.1.
                    SizeTextCase{"SinglePrecision", 16829645, "16.0 MB (16829645 byte)"}),
    [](const testing::TestParamInfo<SizeTextCase>& info) { return std::string(info.param.name); });

struct DataSizeCase {
    const char* name;
    int32_t width, height, format, mipMode, mipLevels, size;
};

class DataSizes : public testing::TestWithParam<DataSizeCase> {};

TEST_P(DataSizes, OfTheDocument) {
    const DataSizeCase& c = GetParam();
    CImage document;
    ASSERT_TRUE(document.Create(RGBA, c.width, c.height, 0, 0, 0, 0));
    ImageOptions options;
    options.format = c.format;
    options.mipMode = c.mipMode;
    options.mipLevels = c.mipLevels;
    EXPECT_EQ(TextureDataSizeOf(document, options), c.size);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, DataSizes,
    testing::Values(DataSizeCase{"Rgba8NoMipMap", 64, 64, RGBA8, NoMipMap, 0, 64 * 64 * 4},
                    // 100 x 30 pads to 128 x 32 before it is counted.
                    DataSizeCase{"PaddedL8", 100, 30, L8, NoMipMap, 0, 128 * 32},
                    DataSizeCase{"Rgb565AllLevels", 64, 64, RGB565, GenerateMipMap, 0, (4096 + 1024 + 256 + 64) * 2},
                    DataSizeCase{"Rgb565TwoLevels", 64, 64, RGB565, GenerateMipMap, 2, (4096 + 1024) * 2},
                    DataSizeCase{"Etc1AllLevels", 64, 64, ETC1, GenerateMipMap, 0, (4096 + 1024 + 256) / 2},
                    DataSizeCase{"Etc1A4", 32, 32, ETC1_A4, NoMipMap, 0, 1024}),
    [](const testing::TestParamInfo<DataSizeCase>& info) { return std::string(info.param.name); });

TEST(ZoomTextTest, IsAPercentage) {
    EXPECT_EQ(ZoomText(1), "100 %");
    EXPECT_EQ(ZoomText(2), "200 %");
    EXPECT_EQ(ZoomText(16), "1600 %");
}

}  // namespace
