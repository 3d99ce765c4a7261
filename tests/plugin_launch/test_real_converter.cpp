// Conversions through the real converter give the very files that running it
// directly with the same command line on the same "base.tga" gives.
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "LaunchWorld.h"
#include "image/ImageFiles.h"
#include "image/ImageOptions.h"
#include "image/ImageVOQ.h"
#include "platform/Paths.h"
#include "plugin/launch/ConverterLaunch.h"
#include "support/ConverterRun.h"

using namespace ImageLib;
using LaunchTests::CountRuns;
using LaunchTests::LaunchWorld;
using PluginLaunch::ConvertError;

namespace {

struct RealCase {
    const char* name;
    int32_t kind;
    int32_t imageFormat;
    ImageOptions options;
    const char* fileName;
    std::vector<std::string> words;  // the converter's words between its path and "-i"
};

void PrintTo(const RealCase& c, std::ostream* out) { *out << c.name; }

ImageOptions Options(int32_t format, int32_t quality, int32_t mipMode, int32_t levels, int32_t correction) {
    ImageOptions options;
    options.format = format;
    options.etcQuality = quality;
    options.mipMode = mipMode;
    options.mipLevels = levels;
    options.colorCorrection = correction;
    return options;
}

class RealConverter : public LaunchWorld, public testing::WithParamInterface<RealCase> {
protected:
    void SetUp() override {
        LaunchWorld::SetUp();
        environment.Set("BW_ETCWORKS", Platform::FolderOf(BWVOQ_CONVERTER));
    }
};

TEST_P(RealConverter, MatchesADirectRunOnTheSameBase) {
    const RealCase& c = GetParam();
    std::unique_ptr<CImage> image = LaunchTests::PhotoImage(40, 24, c.imageFormat);
    char path[PluginLaunch::kTempPathSize];
    ASSERT_EQ(PluginLaunch::ConvertViaConverter(path, c.kind, image.get(), &c.options), path)
        << PluginLaunch::GetErrorMessage();
    EXPECT_EQ(std::string(path), ConverterFile(c.fileName));

    // "base.tga" is the document as a plain TGA file.
    std::string plain = tools.File("plain.tga");
    ASSERT_TRUE(SaveImage(image.get(), plain.c_str(), nullptr));
    EXPECT_TRUE(TestSupport::ReadBytes(ConverterFile("base.tga")) == TestSupport::ReadBytes(plain));

    std::string direct = tools.File(std::string("direct") + (c.fileName + std::string(c.fileName).rfind('.')));
    std::vector<std::string> arguments = c.words;
    arguments.insert(arguments.end(), {"-i", ConverterFile("base.tga"), "-o", direct});
    TestSupport::ConverterResult run = TestSupport::RunConverter(arguments, "", "", {{"APPDATA", appData.Path()}});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_GT(TestSupport::ReadBytes(path).size(), 18u);
    EXPECT_TRUE(TestSupport::WithoutFenkDate(TestSupport::ReadText(path)) ==
                TestSupport::WithoutFenkDate(TestSupport::ReadText(direct)));
}

INSTANTIATE_TEST_SUITE_P(
    Launch, RealConverter,
    testing::Values(
        RealCase{"FenkRgb8", 2, RGB, Options(RGB8, Fast, NoMipMap, 0, NONE), "Rgb8NONE.fenk",
                 {"-c", "rle", "-f", "Rgb8", "-n"}},
        RealCase{"TgaLa8", 1, LA, Options(LA8, Fast, NoMipMap, 0, NONE), "La8NONE.tga",
                 {"-c", "rle", "-f", "La8", "-n"}},
        RealCase{"TgaRgba4ThreeLevels", 1, RGBA, Options(RGBA4, Slow, GenerateMipMap, 3, VOQ_TOP),
                 "Rgba4VOQ_TOP.tga", {"-c", "rle", "-f", "Rgba4", "-t", "VOQ_TOP", "-n", "-m", "3"}},
        RealCase{"VoqEtc1AllLevels", 3, RGB, Options(ETC1, FastPerceptual, GenerateMipMap, 0, VOQ_AVG),
                 "Etc1VOQ_AVGFastPerceptual.voq",
                 {"-c", "rle", "-f", "Etc1", "-e", "FastPerceptual", "-t", "VOQ_AVG", "-n", "-m", "MAX"}},
        RealCase{"FenkEtc1A4TwoLevels", 2, RGBA, Options(ETC1_A4, Fast, GenerateMipMap, 2, NONE),
                 "Etc1_a4NONEFast.fenk", {"-c", "rle", "-f", "Etc1_a4", "-e", "Fast", "-n", "-m", "2"}},
        RealCase{"VoqL4", 3, L, Options(L4, Fast, NoMipMap, 0, NONE), "L4NONE.voq", {"-c", "rle", "-f", "L4", "-n"}}),
    [](const testing::TestParamInfo<RealCase>& info) { return info.param.name; });

class Preview : public LaunchWorld {
protected:
    void SetUp() override {
        LaunchWorld::SetUp();
        // The real converter behind a stand-in that counts the runs.
        LaunchTests::WriteStandInConverter(tools.Path(), log, std::string("exec '") + BWVOQ_CONVERTER + "' \"$@\"");
        environment.Set("BW_ETCWORKS", tools.Path());
        options = Options(RGB565, Fast, NoMipMap, 0, VOQ_BTM);
    }

    bool Convert() { return PluginLaunch::ConvertPreview(image.get(), &preview, &options); }

    std::string log = tools.File("runs.log");
    std::unique_ptr<CImage> image = LaunchTests::PhotoImage(32, 32, RGB);
    CImageVOQ preview;
    ImageOptions options;
};

TEST_F(Preview, ReusesAnEarlierFileWithEnoughLevels) {
    ASSERT_TRUE(Convert()) << PluginLaunch::GetErrorMessage();
    EXPECT_EQ(CountRuns(log), 1);
    EXPECT_EQ(preview.textureFormat, RGB565);
    EXPECT_EQ(preview.mipLevels, 1);
    std::vector<uint8_t> first = TestSupport::ReadBytes(ConverterFile("Rgb565VOQ_BTM.voq"));

    ASSERT_TRUE(Convert());
    EXPECT_EQ(CountRuns(log), 1) << "same format, mapping and method";

    options.mipMode = GenerateMipMap;
    options.mipLevels = 3;
    ASSERT_TRUE(Convert());
    EXPECT_EQ(CountRuns(log), 2) << "more levels than the file holds";
    EXPECT_EQ(preview.mipLevels, 3);

    options.mipLevels = 2;
    ASSERT_TRUE(Convert());
    EXPECT_EQ(CountRuns(log), 2) << "fewer levels than the file holds";

    options.colorCorrection = NONE;
    ASSERT_TRUE(Convert());
    EXPECT_EQ(CountRuns(log), 3) << "another mapping is another file";
    EXPECT_FALSE(TestSupport::ReadBytes(ConverterFile("Rgb565NONE.voq")) == first);
}

TEST_F(Preview, AFileThatDoesNotLoadFails) {
    LaunchTests::WriteStandInConverter(tools.Path(), log, "printf 'not a texture' > \"$out\"");
    EXPECT_FALSE(Convert());
    EXPECT_EQ(static_cast<ConvertError>(PluginLaunch::g_lastConvertError), ConvertError::LoadTempFileFailed);
    EXPECT_STREQ(PluginLaunch::GetErrorMessage(), "Failed to load temp file.");
}

TEST_F(Preview, AFailedConversionKeepsItsError) {
    environment.Set("BW_ETCWORKS", std::nullopt);
    EXPECT_FALSE(Convert());
    EXPECT_EQ(static_cast<ConvertError>(PluginLaunch::g_lastConvertError), ConvertError::CommandNotFound);
}

TEST_F(Preview, NeedsSourceDestinationAndOptions) {
    EXPECT_FALSE(PluginLaunch::ConvertPreview(nullptr, &preview, &options));
    EXPECT_EQ(static_cast<ConvertError>(PluginLaunch::g_lastConvertError), ConvertError::SystemError);
    PluginLaunch::g_lastConvertError = 0;
    EXPECT_FALSE(PluginLaunch::ConvertPreview(image.get(), nullptr, &options));
    EXPECT_EQ(static_cast<ConvertError>(PluginLaunch::g_lastConvertError), ConvertError::SystemError);
    PluginLaunch::g_lastConvertError = 0;
    EXPECT_FALSE(PluginLaunch::ConvertPreview(image.get(), &preview, nullptr));
    EXPECT_EQ(static_cast<ConvertError>(PluginLaunch::g_lastConvertError), ConvertError::SystemError);
    EXPECT_EQ(CountRuns(log), 0);
}

// A save never reuses an earlier output, even one with the same name.
TEST_F(Preview, ASaveAfterAPreviewConvertsAgain) {
    ASSERT_TRUE(Convert());
    char path[PluginLaunch::kTempPathSize];
    ASSERT_NE(PluginLaunch::ConvertViaConverter(path, PluginLaunch::kOutputVoq, image.get(), &options), nullptr);
    EXPECT_EQ(CountRuns(log), 2);
}

}  // namespace
