// FENK files through the real binary: written from a TGA, read as input and
// converted to FENK, TGA and VOQ.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "image/ImageFiles.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"

using TestSupport::ConverterResult;
using TestSupport::RunConverter;
using TestSupport::TempFolder;

namespace {

// A 128 x 64 RGBA TGA, which allows four mip levels.
void WritePatternTga(const std::string& path) {
    ImageLib::CImage image;
    ASSERT_TRUE(image.Create(ImageLib::RGBA, 128, 64, 0, 0, 0, 0));
    for (int32_t i = 0; i < 128 * 64 * 4; ++i) image.pixels[i] = static_cast<uint8_t>(i * 7 + i / 400);
    ASSERT_TRUE(ImageLib::SaveImage(&image, path.c_str(), nullptr));
}

std::unique_ptr<ImageLib::CImage> Load(const std::string& path) {
    return std::unique_ptr<ImageLib::CImage>(ImageLib::CreateImageFromFile(path.c_str()));
}

std::vector<uint8_t> Pixels(const ImageLib::CImage& image) {
    return std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + image.GetImageSize(ImageLib::None, nullptr));
}

class FenkConversion : public testing::Test {
protected:
    void SetUp() override { WritePatternTga(folder.File("in.tga")); }

    ConverterResult Convert(const std::string& input, const std::string& output, std::vector<std::string> more) {
        std::vector<std::string> arguments = {"-i", input, "-o", output};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return RunConverter(arguments, folder.Path());
    }

    TempFolder folder;
};

TEST_F(FenkConversion, TgaToFenkWritesWhatTheLibraryWrites) {
    ConverterResult result = Convert("in.tga", "out.fenk", {"-f", "RGBA8", "-m", "MAX", "-t", "VOQ_AVG"});
    EXPECT_EQ(result.output, "in.tga -> out.fenk \n");
    ASSERT_EQ(result.exitStatus, 0);

    std::unique_ptr<ImageLib::CImage> tga = Load(folder.File("in.tga"));
    ASSERT_NE(tga, nullptr);
    ImageLib::ImageOptions options;
    options.format = ImageLib::RGBA8;
    options.mipMode = ImageLib::GenerateMipMap;
    options.colorCorrection = ImageLib::VOQ_AVG;
    ASSERT_TRUE(ImageLib::SaveImage(tga.get(), folder.File("library.fenk").c_str(), &options));
    std::string written = TestSupport::ReadText(folder.File("out.fenk"));
    EXPECT_TRUE(TestSupport::WithoutFenkDate(written) == TestSupport::WithoutFenkDate(TestSupport::ReadText(folder.File("library.fenk"))));
    EXPECT_NE(written.find(" Width=\"128\" Height=\"64\" MipmapSize=\"4\" "), std::string::npos);
    EXPECT_NE(written.find(" Format=\"Rgba8\" ColorCorrection=\"VOQ_AVG\">"), std::string::npos);
}

TEST_F(FenkConversion, FenkToFenkKeepsLevelZero) {
    ASSERT_EQ(Convert("in.tga", "first.fenk", {"-f", "RGBA8", "-m", "2"}).exitStatus, 0);
    std::unique_ptr<ImageLib::CImage> first = Load(folder.File("first.fenk"));
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->width, 128);
    ASSERT_EQ(first->mipLevels, 2);

    ConverterResult again = Convert("first.fenk", "second.fenk", {"-f", "RGBA8"});
    EXPECT_EQ(again.output, "first.fenk -> second.fenk \n");
    ASSERT_EQ(again.exitStatus, 0);
    std::unique_ptr<ImageLib::CImage> second = Load(folder.File("second.fenk"));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->mipLevels, 1);
    EXPECT_TRUE(Pixels(*second) == Pixels(*first));
}

TEST_F(FenkConversion, FenkToTgaKeepsThePixels) {
    ASSERT_EQ(Convert("in.tga", "in.fenk", {"-f", "RGBA8", "-m", "MAX"}).exitStatus, 0);
    ConverterResult result = Convert("in.fenk", "out.tga", {"-f", "RGBA4", "-c", "rle"});
    EXPECT_EQ(result.output, "in.fenk -> out.tga \n");
    ASSERT_EQ(result.exitStatus, 0);
    std::unique_ptr<ImageLib::CImage> fenk = Load(folder.File("in.fenk"));
    std::unique_ptr<ImageLib::CImage> tga = Load(folder.File("out.tga"));
    ASSERT_NE(fenk, nullptr);
    ASSERT_NE(tga, nullptr);
    EXPECT_EQ(tga->width, 128);
    EXPECT_EQ(tga->height, 64);
    EXPECT_TRUE(Pixels(*tga) == Pixels(*fenk));
}

// RGBA8 keeps every pixel, so a FENK input encodes exactly as the TGA it came from.
TEST_F(FenkConversion, FenkToVoqEqualsTgaToVoq) {
    ASSERT_EQ(Convert("in.tga", "in.fenk", {"-f", "RGBA8"}).exitStatus, 0);
    ConverterResult result = Convert("in.fenk", "from-fenk.voq", {"-f", "RGBA8", "-m", "MAX"});
    EXPECT_EQ(result.output, "in.fenk -> from-fenk.voq \n");
    ASSERT_EQ(result.exitStatus, 0);
    ASSERT_EQ(Convert("in.tga", "from-tga.voq", {"-f", "RGBA8", "-m", "MAX"}).exitStatus, 0);
    std::vector<uint8_t> fromFenk = TestSupport::ReadBytes(folder.File("from-fenk.voq"));
    EXPECT_EQ(fromFenk.size(), 16u + (128 * 64 + 64 * 32 + 32 * 16 + 16 * 8) * 4);
    EXPECT_TRUE(fromFenk == TestSupport::ReadBytes(folder.File("from-tga.voq")));
}

TEST_F(FenkConversion, UnreadableFenkIsNotSupported) {
    ASSERT_EQ(Convert("in.tga", "good.fenk", {"-f", "L8"}).exitStatus, 0);
    std::string text = TestSupport::ReadText(folder.File("good.fenk"));
    // Cutting one group of four characters off the level makes it short.
    size_t end = text.find("</PixelBasedImageVoq>");
    TestSupport::WriteText(folder.File("short.fenk"), text.erase(end - 4, 4));
    ConverterResult result = Convert("short.fenk", "out.tga", {"-f", "L8"});
    EXPECT_EQ(result.output, "short.fenk -> out.tga \nnot support (short.fenk)\n");
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_FALSE(TestSupport::FileExists(folder.File("out.tga")));
}

// The first "=" ends the decoding, so a level text written twice decodes to
// its level alone; its length still gives it away.
TEST_F(FenkConversion, LevelTextLongerThanItsRoomIsNotSupported) {
    ASSERT_EQ(Convert("in.tga", "good.fenk", {"-f", "L8"}).exitStatus, 0);
    std::string text = TestSupport::ReadText(folder.File("good.fenk"));
    size_t start = text.find("<PixelBasedImageVoq>") + 20;
    size_t end = text.find("</PixelBasedImageVoq>");
    TestSupport::WriteText(folder.File("twice.fenk"), text.insert(end, text.substr(start, end - start)));
    ConverterResult result = Convert("twice.fenk", "out.voq", {"-f", "RGBA8"});
    EXPECT_EQ(result.output, "twice.fenk -> out.voq \nnot support (twice.fenk)\n");
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_FALSE(TestSupport::FileExists(folder.File("out.voq")));
}

}  // namespace
