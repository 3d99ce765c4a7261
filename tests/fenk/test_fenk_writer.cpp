#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fenk/FenkTestSupport.h"
#include "image/Image.h"
#include "image/ImageFENK.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"
#include "image/XmlReader.h"
#include "platform/User.h"
#include "support/TestFiles.h"

using namespace ImageLib;
using FenkTest::SplitLines;

namespace {

constexpr const char* kLevelStart = "\t\t\t\t\t<PixelBasedImageVoq>";
constexpr const char* kLevelEnd = "</PixelBasedImageVoq>";

// The Base64 texts of every level of what EncodeTexture gives for the image.
std::vector<std::string> ExpectedLevelTexts(CImage& image, const ImageOptions& options) {
    ByteBuffer data = EncodeTexture(&image, &options);
    std::vector<std::string> texts;
    const uint8_t* position = data.get();
    for (int32_t level = 0; level < image.mipLevels; ++level) {
        int32_t size = GetTextureDataSize(image.mipWidth[level], image.mipHeight[level], 1, options.format);
        texts.push_back(FenkTest::Base64Of(position, size));
        position += size;
    }
    return texts;
}

constexpr const char* kDateAttribute = " Date=\"";
using TestSupport::WithoutFenkDate;

TEST(FenkWriter, WritesTheWholeFileByteForByte) {
    ImageOptions options;
    options.format = RGBA8;
    FenkTest::WriteResult result = FenkTest::WritePattern(RGBA, 100, 50, &options);
    ASSERT_TRUE(result.written);

    CImage reference;
    FenkTest::FillPattern(reference, RGBA, 100, 50);
    std::vector<std::string> levels = ExpectedLevelTexts(reference, options);
    ASSERT_EQ(levels.size(), 1u);
    // 32768 bytes of data: 43692 characters, the last one "=" of padding.
    EXPECT_EQ(levels[0].size(), 43692u);
    EXPECT_EQ(levels[0].back(), '=');
    EXPECT_NE(levels[0][43690], '=');

    std::string expected =
        "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
        "<HalvornIntermediateFile>\r\n"
        "\t<MetaData>\r\n"
        "\t\t<Create Author=\"" + Platform::GetUserName() + "\" Source=\"\">\r\n"
        "\t\t\t<ToolDescriptions Name=\"BW_FENK for PaintDesk 10.0.0\" Version=\"1.0.0\" />\r\n"
        "\t\t</Create>\r\n"
        "\t</MetaData>\r\n"
        "\t<GraphicsContentVoq Namespace=\"\" Version=\"0.7.0\">\r\n"
        "\t\t<Textures>\r\n"
        "\t\t\t<ImageTextureVoq Name=\"\" Width=\"128\" Height=\"64\" MipmapSize=\"1\" Path=\"\" Encoding=\"Base64\" "
        "Format=\"Rgba8\">\r\n"
        "\t\t\t\t<Images>\r\n" +
        std::string(kLevelStart) + levels[0] + kLevelEnd + "\r\n"
        "\t\t\t\t</Images>\r\n"
        "\t\t\t</ImageTextureVoq>\r\n"
        "\t\t</Textures>\r\n"
        "\t</GraphicsContentVoq>\r\n"
        "</HalvornIntermediateFile>\r\n";
    EXPECT_EQ(FenkTest::FirstDifference(WithoutFenkDate(result.text), expected), "");
    size_t date = result.text.find(kDateAttribute) + 7;
    std::string layout = result.text.substr(date, result.text.find('"', date) - date);
    std::replace_if(layout.begin(), layout.end(), [](char c) { return c >= '0' && c <= '9'; }, 'd');
    EXPECT_EQ(layout, "dddd-dd-ddTdd:dd:dd");
}

TEST(FenkWriter, ThreeGeneratedLevelsMakeThreeLines) {
    ImageOptions options;
    options.format = RGBA8;
    options.mipMode = GenerateMipMap;
    options.mipLevels = 3;
    FenkTest::WriteResult result = FenkTest::WritePattern(RGBA, 128, 64, &options);
    ASSERT_TRUE(result.written);
    EXPECT_NE(result.text.find(" Width=\"128\" Height=\"64\" MipmapSize=\"3\" "), std::string::npos);

    CImage reference;
    FenkTest::FillPattern(reference, RGBA, 128, 64);
    std::vector<std::string> levels = ExpectedLevelTexts(reference, options);
    std::vector<std::string> lines = SplitLines(result.text);
    ASSERT_EQ(lines.size(), 19u);
    const size_t lengths[] = {43692, 10924, 2732};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(levels[i].size(), lengths[i]);
        EXPECT_EQ(FenkTest::FirstDifference(lines[11 + i], kLevelStart + levels[i] + kLevelEnd), "") << i;
    }
}

TEST(FenkWriter, ColorCorrectionIsTheLastAttribute) {
    ImageOptions options;
    options.format = RGB8;
    options.colorCorrection = VOQ_BTM;
    FenkTest::WriteResult result = FenkTest::WritePattern(RGB, 8, 8, &options);
    ASSERT_TRUE(result.written);
    EXPECT_NE(result.text.find(" Format=\"Rgb8\" ColorCorrection=\"VOQ_BTM\">\r\n"), std::string::npos);
}

// Texts of the options go through the XML reader back to what they were.
TEST(FenkWriter, AttributeTextsRoundTripThroughTheXmlReader) {
    const std::string texts[] = {"abc", "caf\xC3\xA9", "a\"<b>&'c & &amp;", std::string(10000, 'p') + "/x.tga", ""};
    for (const std::string& text : texts) {
        ImageOptions options;
        options.format = L8;
        options.path = text.c_str();
        options.source = text.c_str();
        FenkTest::WriteResult result = FenkTest::WritePattern(L, 8, 8, &options);
        ASSERT_TRUE(result.written);
        XmlDocument document;
        ASSERT_TRUE(document.ParseXmlDocument(result.text));
        int found = 0;
        for (const XmlNode* node = document.First(); node; node = document.Next()) {
            if (node->type != XmlNodeType::StartTag) continue;
            if (node->text == "Create") found += node->GetAttribute("Source") == text;
            if (node->text == "ImageTextureVoq") found += node->GetAttribute("Path") == text;
        }
        EXPECT_EQ(found, 2) << text.substr(0, 40);
    }
}

TEST(FenkWriter, NullTextsWriteEmptyValues) {
    ImageOptions options;
    options.format = L4;
    FenkTest::WriteResult result = FenkTest::WritePattern(L, 8, 8, &options);
    ASSERT_TRUE(result.written);
    EXPECT_NE(result.text.find(" Source=\"\">"), std::string::npos);
    EXPECT_NE(result.text.find(" Path=\"\" "), std::string::npos);
}

TEST(FenkWriter, IndexedImageWritesAsItsRgbConversion) {
    CImage indexed;
    FenkTest::FillPattern(indexed, Indexed, 24, 20);
    CImage rgb;
    rgb.CopyFrom(indexed, RGB);
    ImageOptions options;
    options.format = RGB565;
    options.mipMode = GenerateMipMap;
    FenkTest::WriteResult fromIndexed = FenkTest::WriteFenk(indexed, &options);
    FenkTest::WriteResult fromRgb = FenkTest::WriteFenk(rgb, &options);
    ASSERT_TRUE(fromIndexed.written);
    EXPECT_EQ(FenkTest::FirstDifference(WithoutFenkDate(fromIndexed.text), WithoutFenkDate(fromRgb.text)), "");
    EXPECT_EQ(indexed.mipLevels, 0) << "the caller's indexed image keeps its own levels";
}

TEST(FenkWriter, FailsWithoutOptionsOrFormat) {
    CImage image;
    FenkTest::FillPattern(image, RGB, 8, 8);
    FenkTest::WriteResult result = FenkTest::WriteFenk(image, nullptr);
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.text, "");
    for (int32_t format : {int32_t{ETC1_AUTO}, int32_t{INVALID}, int32_t{16}}) {
        ImageOptions options;
        options.format = format;
        result = FenkTest::WriteFenk(image, &options);
        EXPECT_FALSE(result.written) << format;
        EXPECT_EQ(result.text, "") << format;
    }
    ImageOptions options;
    options.format = L8;
    EXPECT_FALSE(CImageFENK::WriteImage(image, Platform::FileHandle(), &options));
}

TEST(FenkWriter, FailsWhenAWriteFails) {
    TestSupport::TempFolder folder;
    std::string path = folder.File("read-only.fenk");
    TestSupport::WriteText(path, "x");
    CImage image;
    FenkTest::FillPattern(image, RGB, 8, 8);
    ImageOptions options;
    options.format = RGB8;
    Platform::FileHandle file = Platform::OpenFileForReading(path.c_str());
    EXPECT_FALSE(CImageFENK::WriteImage(image, file, &options));
    Platform::CloseFile(file);
}

}  // namespace
