// Saving through the converter: for every format, mip mode, ETC1 method and
// a colour mapping, the file the plug-in writes equals what the converter
// writes itself when run with the command of the options on the same document.
#include <string>
#include <vector>

#include "PluginWorld.h"
#include "image/ImageFiles.h"
#include "image/TextureFormat.h"
#include "support/ConverterRun.h"
#include "tools/editor-host/HostSession.h"

namespace PluginTests {
namespace {

using namespace PluginHost;
using namespace ImageLib;

struct SaveCase {
    std::string name;
    int32_t format;
    int32_t mipMode;
    int32_t mipLevels;
    int32_t quality;
    int32_t correction;
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

// The converter's arguments for the options, written out as the plug-in's command has them.
std::vector<std::string> CommandWords(const SaveCase& c, const std::string& input, const std::string& output) {
    std::vector<std::string> words = {"-c", "rle", "-f", GetTextureFormatName(c.format)};
    if (c.format == ETC1 || c.format == ETC1_A4) words.insert(words.end(), {"-e", GetEtcQualityName(c.quality)});
    if (c.correction != NONE) words.insert(words.end(), {"-t", GetColorCorrectionName(c.correction)});
    words.push_back("-n");
    if (c.mipMode == GenerateMipMap) words.insert(words.end(), {"-m", c.mipLevels > 0 ? std::to_string(c.mipLevels) : "MAX"});
    words.insert(words.end(), {"-i", input, "-o", output});
    return words;
}

class Saves : public PluginWorld, public testing::WithParamInterface<SaveCase> {};

TEST_P(Saves, WriteWhatTheConverterWritesFromTheSameDocument) {
    const SaveCase& c = GetParam();
    const EditorHost::Document document = PatternDocument(plugInModeRGBColor, 24, 20, 1);

    EditorHost::HostSession session(CallPlugin, nullptr);
    ASSERT_EQ(session.Call(formatSelectorReadPrepare), noErr);
    ImageOptions options = FormatPlugin::DefaultGlobals().options;
    options.format = c.format;
    options.mipMode = c.mipMode;
    options.mipLevels = c.mipLevels;
    options.etcQuality = c.quality;
    options.colorCorrection = c.correction;
    SetOptions(session, options);
    const std::string saved = files.File("saved.tga");
    Platform::FileHandle dataFork = Platform::CreateOrTruncateFile(saved.c_str());
    const int16_t result = session.Save(document, dataFork, false);
    Platform::CloseFile(dataFork);
    ASSERT_EQ(result, noErr);

    std::unique_ptr<CImage> image = EditorHost::DocumentImage(document);
    const std::string base = files.File("base.tga");
    const std::string expected = files.File("expected.tga");
    ASSERT_TRUE(SaveImage(image.get(), base.c_str(), nullptr));
    const TestSupport::ConverterResult run =
        TestSupport::RunConverter(CommandWords(c, base, expected), "", "", {{"APPDATA", appData.Path()}});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(TestSupport::ReadBytes(saved), TestSupport::ReadBytes(expected));
}

std::vector<SaveCase> AllSaveCases() {
    struct Mip {
        const char* name;
        int32_t mode;
        int32_t levels;
    };
    const Mip mips[] = {{"NoMipMap", NoMipMap, 0}, {"AllLevels", GenerateMipMap, 0}, {"TwoLevels", GenerateMipMap, 2},
                        {"UseMipMapSendsNoLevels", UseMipMap, 3}};
    std::vector<SaveCase> cases;
    for (int32_t format = 0; format < kTextureFormatCount; ++format) {
        for (const Mip& mip : mips) {
            cases.push_back({std::string(GetTextureFormatName(format)) + mip.name, format, mip.mode, mip.levels, Fast,
                             NONE});
        }
    }
    for (int32_t format : {ETC1, ETC1_A4}) {
        for (int32_t quality = FastPerceptual; quality < kEtcQualityCount; ++quality) {
            cases.push_back({std::string(GetTextureFormatName(format)) + GetEtcQualityName(quality), format, NoMipMap,
                             0, quality, NONE});
        }
    }
    cases.push_back({"Etc1SlowWithLevels", ETC1, GenerateMipMap, 0, Slow, NONE});
    cases.push_back({"Etc1MediumAveraged", ETC1, NoMipMap, 0, Medium, VOQ_AVG});
    cases.push_back({"Rgb8MappedToTop", RGB8, NoMipMap, 0, Fast, VOQ_TOP});
    cases.push_back({"Rgba4MappedToBottom", RGBA4, GenerateMipMap, 0, Fast, VOQ_BTM});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Plugin, Saves, testing::ValuesIn(AllSaveCases()),
                         [](const testing::TestParamInfo<SaveCase>& info) { return info.param.name; });

TEST_F(PluginWorld, ASaveThatCannotConvertLeavesTheFileEmptyAndGivesTheHostInsufficient) {
    // A temporary directory that is a plain file: no folder can be made in it.
    const std::string notAFolder = files.File("not-a-folder");
    TestSupport::WriteText(notAFolder, "");
    environment.Set("XDG_RUNTIME_DIR", notAFolder);
    EditorHost::HostSession session(CallPlugin, nullptr);
    const std::string saved = files.File("saved.tga");
    Platform::FileHandle dataFork = Platform::CreateOrTruncateFile(saved.c_str());
    EXPECT_EQ(session.Save(PatternDocument(plugInModeRGBColor, 8, 8, 0), dataFork, false), errPlugInHostInsufficient);
    Platform::CloseFile(dataFork);
    EXPECT_TRUE(TestSupport::ReadBytes(saved).empty());
}

TEST_F(PluginWorld, OptionsWithoutAWindowAreCancelled) {
    EditorHost::HostSession session(CallPlugin, nullptr);
    const std::string saved = files.File("saved.tga");
    Platform::FileHandle dataFork = Platform::CreateOrTruncateFile(saved.c_str());
    EXPECT_EQ(session.Save(PatternDocument(plugInModeRGBColor, 8, 8, 0), dataFork, true), userCanceledErr);
    Platform::CloseFile(dataFork);
}

}  // namespace
}  // namespace PluginTests
