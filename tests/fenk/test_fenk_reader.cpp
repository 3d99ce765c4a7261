#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "fenk/FenkTestSupport.h"
#include "image/Image.h"
#include "image/ImageFENK.h"
#include "image/TextureCodecs.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"

using namespace ImageLib;

namespace {

struct RoundTripCase {
    int32_t format;
    int32_t width, height;  // of the source; the file holds the padded size
    int32_t mipMode;
    int32_t mipLevels;
    int32_t levelsWritten;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << GetTextureFormatName(c.format) << " " << c.width << "x" << c.height << " mode " << c.mipMode << " levels "
         << c.mipLevels;
}

class FenkRoundTrip : public testing::TestWithParam<RoundTripCase> {};

// What the writer writes reads back to the padded size and level count, with
// every level equal to decoding that level's texture data.
TEST_P(FenkRoundTrip, ReadsBackWhatWasWritten) {
    const RoundTripCase& c = GetParam();
    ImageOptions options;
    options.format = c.format;
    options.mipMode = c.mipMode;
    options.mipLevels = c.mipLevels;
    FenkTest::WriteResult written = FenkTest::WritePattern(RGBA, c.width, c.height, &options);
    ASSERT_TRUE(written.written);

    CImage reference;
    FenkTest::FillPattern(reference, RGBA, c.width, c.height);
    ByteBuffer data = EncodeTexture(&reference, &options);
    ASSERT_NE(data, nullptr);
    ASSERT_EQ(reference.mipLevels, c.levelsWritten);

    CImageFENK image;
    FenkTest::ReadResult read = FenkTest::ReadFenkText(written.text, image);
    ASSERT_TRUE(read.header);
    ASSERT_TRUE(read.body);
    EXPECT_EQ(image.textureFormat, c.format);
    EXPECT_EQ(image.format, GetImageFormatOf(c.format));
    EXPECT_EQ(image.width, reference.mipWidth[0]);
    EXPECT_EQ(image.height, reference.mipHeight[0]);
    EXPECT_EQ(image.mipLevels, reference.mipLevels);
    EXPECT_EQ(image.paletteCount, 0);

    const uint8_t* levelData = data.get();
    for (int32_t level = 0; level < reference.mipLevels; ++level) {
        int32_t w = reference.mipWidth[level];
        int32_t h = reference.mipHeight[level];
        ASSERT_EQ(image.mipWidth[level], w);
        ASSERT_EQ(image.mipHeight[level], h);
        std::vector<uint8_t> decoded(static_cast<size_t>(GetImageByteSize(image.format, w, h)));
        DecodeTexture(c.format, levelData, decoded.data(), w, h);
        std::vector<uint8_t> actual(decoded.size());
        ASSERT_TRUE(image.GetMipImage(actual.data(), static_cast<int32_t>(actual.size()), None, level));
        EXPECT_TRUE(actual == decoded) << "level " << level;
        if (level == 0) {
            EXPECT_EQ(std::memcmp(image.pixels.get(), decoded.data(), decoded.size()), 0);
        }
        levelData += GetTextureDataSize(w, h, 1, c.format);
    }
}

std::vector<RoundTripCase> AllRoundTrips() {
    std::vector<RoundTripCase> cases;
    for (int32_t format = L4; format <= RGBA8; ++format) {
        cases.push_back({format, 100, 50, NoMipMap, 0, 1});
        cases.push_back({format, 64, 32, GenerateMipMap, 2, 2});
        cases.push_back({format, 64, 32, GenerateMipMap, 0, 3});
        cases.push_back({format, 24, 16, GenerateMipMap, 0, 1});
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(FenkReader, FenkRoundTrip, testing::ValuesIn(AllRoundTrips()));

// Hand-written files around an 8 x 8 L8 level (64 bytes) and a 16 x 16 one (256 bytes).
std::vector<uint8_t> Pattern(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    return bytes;
}

const std::vector<uint8_t> kLevel8 = Pattern(64);
const std::vector<uint8_t> kLevel16 = Pattern(256);
const std::string kText8 = FenkTest::Base64Of(kLevel8.data(), 64);
const std::string kText16 = FenkTest::Base64Of(kLevel16.data(), 256);

std::string Level(const std::string& text) { return "<PixelBasedImageVoq>" + text + "</PixelBasedImageVoq>\r\n"; }

std::string FenkFile(const std::string& attributes, const std::string& levels) {
    return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<HalvornIntermediateFile>\r\n"
           "<ImageTextureVoq " + attributes + ">\r\n<Images>\r\n" + levels +
           "</Images>\r\n</ImageTextureVoq>\r\n</HalvornIntermediateFile>\r\n";
}

const std::string kL8 = "Width=\"8\" Height=\"8\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"L8\"";
const std::string kL8TwoLevels = "Width=\"16\" Height=\"16\" MipmapSize=\"2\" Encoding=\"Base64\" Format=\"L8\"";

struct RefusalCase {
    const char* name;
    std::string text;
    bool header;  // whether ReadHeader still succeeds
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class FenkRefusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(FenkRefusals, RefusesTheFile) {
    CImageFENK image;
    FenkTest::ReadResult read = FenkTest::ReadFenkText(GetParam().text, image);
    EXPECT_EQ(read.header, GetParam().header);
    EXPECT_FALSE(read.body);
}

INSTANTIATE_TEST_SUITE_P(
    FenkReader, FenkRefusals,
    testing::Values(
        RefusalCase{"EmptyFile", "", false},
        RefusalCase{"NoTextureTag", "\xEF\xBB\xBF<a>" + Level(kText8), false},
        RefusalCase{"TextureTagInTheFirstThreeBytes", "<ImageTextureVoq " + kL8 + ">" + Level(kText8), false},
        RefusalCase{"TextureTagNeverEnds", "\xEF\xBB\xBF<ImageTextureVoq " + kL8, false},
        RefusalCase{"EncodingInSmallLetters",
                    FenkFile("Width=\"8\" Height=\"8\" MipmapSize=\"1\" Encoding=\"base64\" Format=\"L8\"", Level(kText8)),
                    false},
        RefusalCase{"EncodingMissing", FenkFile("Width=\"8\" Height=\"8\" MipmapSize=\"1\" Format=\"L8\"", Level(kText8)),
                    false},
        RefusalCase{"WidthZero",
                    FenkFile("Width=\"0\" Height=\"8\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"L8\"", Level(kText8)),
                    false},
        RefusalCase{"HeightNotANumber",
                    FenkFile("Width=\"8\" Height=\"x8\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"L8\"", Level(kText8)),
                    false},
        RefusalCase{"NoLevels",
                    FenkFile("Width=\"8\" Height=\"8\" MipmapSize=\"0\" Encoding=\"Base64\" Format=\"L8\"", Level(kText8)),
                    false},
        RefusalCase{"UnknownFormat",
                    FenkFile("Width=\"8\" Height=\"8\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"l8\"", Level(kText8)),
                    true},
        RefusalCase{"TenLevels",
                    FenkFile("Width=\"4096\" Height=\"4096\" MipmapSize=\"10\" Encoding=\"Base64\" Format=\"L8\"",
                             Level(kText8)),
                    true},
        RefusalCase{"WidthNotWholeTiles",
                    FenkFile("Width=\"12\" Height=\"8\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"L8\"", Level(kText8)),
                    true},
        RefusalCase{"LevelBelowOneTile",
                    FenkFile("Width=\"16\" Height=\"16\" MipmapSize=\"3\" Encoding=\"Base64\" Format=\"L8\"",
                             Level(kText16) + Level(kText8) + Level("AAAA")),
                    true},
        RefusalCase{"DataTooLargeForInt32",
                    FenkFile("Width=\"65536\" Height=\"65536\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"Rgba8\"",
                             Level(kText8)),
                    true},
        RefusalCase{"FewerLevelsThanMipmapSize", FenkFile(kL8TwoLevels, Level(kText16)), true},
        RefusalCase{"ShortLevel", FenkFile(kL8, Level(kText8.substr(0, 84))), true},
        RefusalCase{"CharacterOutsideBase64", FenkFile(kL8, Level("*" + kText8)), true},
        RefusalCase{"LevelTextHoldsMoreThanTheTexture", FenkFile(kL8, Level(kText16)), true},
        RefusalCase{"EmptyLevelElement", FenkFile(kL8, "<PixelBasedImageVoq></PixelBasedImageVoq>"), true},
        RefusalCase{"SelfClosingLevelElement", FenkFile(kL8, "<PixelBasedImageVoq />" + Level(kText8)), true},
        RefusalCase{"LevelElementIsTheLastNode", FenkFile(kL8, "").append("<PixelBasedImageVoq>"), true}),
    [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

struct AcceptCase {
    const char* name;
    std::string text;
};

void PrintTo(const AcceptCase& c, std::ostream* out) { *out << c.name; }

class FenkAccepted : public testing::TestWithParam<AcceptCase> {};

// Each file holds the 16 x 16 and 8 x 8 levels of kL8TwoLevels, somehow wrapped.
TEST_P(FenkAccepted, ReadsBothLevels) {
    CImageFENK image;
    FenkTest::ReadResult read = FenkTest::ReadFenkText(GetParam().text, image);
    ASSERT_TRUE(read.header);
    ASSERT_TRUE(read.body);
    std::vector<uint8_t> expected(256 + 64);
    DecodeTexture(L8, kLevel16.data(), expected.data(), 16, 16);
    DecodeTexture(L8, kLevel8.data(), expected.data() + 256, 8, 8);
    EXPECT_EQ(std::vector<uint8_t>(image.mipChain.get(), image.mipChain.get() + 320), expected);
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 256),
              std::vector<uint8_t>(expected.begin(), expected.begin() + 256));
    EXPECT_EQ(image.format, L);
}

std::string Wrapped(const std::string& text) {
    std::string wrapped = "\r\n\t\t";
    for (size_t i = 0; i < text.size(); i += 76) wrapped += text.substr(i, 76) + "\r\n\t\t";
    return wrapped;
}

INSTANTIATE_TEST_SUITE_P(
    FenkReader, FenkAccepted,
    testing::Values(
        AcceptCase{"Plain", FenkFile(kL8TwoLevels, Level(kText16) + Level(kText8))},
        AcceptCase{"HandWrappedText", FenkFile(kL8TwoLevels, Level(Wrapped(kText16)) + Level(" " + kText8 + " \n"))},
        AcceptCase{"LevelsOutsideImages",
                   "\xEF\xBB\xBF" + Level(kText16) + "<ImageTextureVoq " + kL8TwoLevels + ">" + Level(kText8)},
        AcceptCase{"OtherElementsCommentsAndAttributesIgnored",
                   FenkFile(kL8TwoLevels + " Path=\"x\" Name=\"y\" ColorCorrection=\"VOQ_AVG\"",
                            "<!-- <PixelBasedImageVoq>AAAA</PixelBasedImageVoq> -->" +
                                Level("*").replace(1, 5, "pixel") + "<PixelBasedImageVoqX>*</PixelBasedImageVoqX>" +
                                Level(kText16) + "<!-- note -->" + Level(kText8) + Level("*"))}),
    [](const testing::TestParamInfo<AcceptCase>& info) { return std::string(info.param.name); });

// A level text may hold at most 4 bytes more than the room left for it, as
// counted from its length (3 bytes for every 4 characters, white space and
// padding included), whatever it decodes to.
struct RoomCase {
    const char* name;
    std::string text;
    bool accepted;
};

void PrintTo(const RoomCase& c, std::ostream* out) { *out << c.name; }

class FenkLevelRoom : public testing::TestWithParam<RoomCase> {};

const std::vector<uint8_t> kRgbLevel8 = Pattern(192);
const std::string kRgbText8 = FenkTest::Base64Of(kRgbLevel8.data(), 192);  // 256 characters, no padding
const std::string kRgb8 = "Width=\"8\" Height=\"8\" MipmapSize=\"1\" Encoding=\"Base64\" Format=\"Rgb8\"";

TEST_P(FenkLevelRoom, AcceptsUpToFourBytesMore) {
    CImageFENK image;
    FenkTest::ReadResult read = FenkTest::ReadFenkText(GetParam().text, image);
    ASSERT_TRUE(read.header);
    ASSERT_EQ(read.body, GetParam().accepted);
    if (!read.body) return;
    // The level itself is read whole and nothing else reaches the pixels.
    bool rgb = image.textureFormat == RGB8;
    std::vector<uint8_t> expected(rgb ? 192 : 64);
    DecodeTexture(image.textureFormat, rgb ? kRgbLevel8.data() : kLevel8.data(), expected.data(), 8, 8);
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    FenkReader, FenkLevelRoom,
    testing::Values(RoomCase{"ExactlyItsLevel", FenkFile(kL8, Level(kText8)), true},
                    // 88 + 3 characters count as 68 bytes: 64 and the 4 to spare.
                    RoomCase{"FourBytesMoreAfterThePadding", FenkFile(kL8, Level(kText8 + "AAA")), true},
                    RoomCase{"OneGroupMoreAfterThePadding", FenkFile(kL8, Level(kText8 + "AAAAAAA")), false},
                    // 256 + 6 characters decode to 196 bytes: the last 4 land in the room to spare.
                    RoomCase{"UnpaddedLevelDecodingFourBytesMore", FenkFile(kRgb8, Level(kRgbText8 + "AAAAAA")), true},
                    RoomCase{"UnpaddedLevelOneCharacterTooLong", FenkFile(kRgb8, Level(kRgbText8 + "AAAAAAA")), false},
                    // White space counts towards the length.
                    RoomCase{"WhiteSpaceBeyondTheRoom", FenkFile(kL8, Level(kText8 + "       x")), false},
                    // The first "=" ends the decoding, so only the length shows the second copy.
                    RoomCase{"DoubledTextInTheFirstOfTwoLevels",
                             FenkFile(kL8TwoLevels, Level(kText16 + kText16) + Level(kText8)), false}),
    [](const testing::TestParamInfo<RoomCase>& info) { return std::string(info.param.name); });

TEST(FenkReader, ReadingAgainReplacesTheEarlierImage) {
    CImageFENK image;
    ASSERT_TRUE(FenkTest::ReadFenkText(FenkFile(kL8, Level(kText8)), image).body);
    FenkTest::ReadResult read = FenkTest::ReadFenkText(FenkFile(kL8TwoLevels, Level(kText16) + Level(kText8)), image);
    ASSERT_TRUE(read.body);
    std::vector<uint8_t> expected(256);
    DecodeTexture(L8, kLevel16.data(), expected.data(), 16, 16);
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 256), expected);
    EXPECT_FALSE(FenkTest::ReadFenkText("\xEF\xBB\xBF<a>", image).header);
    EXPECT_EQ(image.pixels, nullptr);
}

}  // namespace
