// Saving through the converter, in both configurations (the TGA one linked in,
// the FENK module loaded): for every format, mip mode, ETC1 method and a colour
// mapping, the file the plug-in writes equals what the converter writes itself
// when run with the command of the options on the same document.
#include <string>
#include <vector>

#include "PluginWorld.h"
#include "image/ImageFiles.h"
#include "image/TextureFormat.h"
#include "support/ConverterRun.h"
#include "tools/editor-host/FormatModule.h"
#include "tools/editor-host/HostSession.h"

namespace PluginTests {
namespace {

using namespace PluginHost;
using namespace ImageLib;

// The options of one save, named.
struct Options {
    std::string name;
    int32_t format;
    int32_t mipMode;
    int32_t mipLevels;
    int32_t quality;
    int32_t correction;
};

struct SaveCase {
    std::string name;
    bool fenk;  // the FENK configuration, else the TGA one
    Options options;
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

// The converter's arguments for the options, written out as the plug-in's command has them.
std::vector<std::string> CommandWords(const Options& c, const std::string& input, const std::string& output) {
    std::vector<std::string> words = {"-c", "rle", "-f", GetTextureFormatName(c.format)};
    if (c.format == ETC1 || c.format == ETC1_A4) words.insert(words.end(), {"-e", GetEtcQualityName(c.quality)});
    if (c.correction != NONE) words.insert(words.end(), {"-t", GetColorCorrectionName(c.correction)});
    words.push_back("-n");
    if (c.mipMode == GenerateMipMap) words.insert(words.end(), {"-m", c.mipLevels > 0 ? std::to_string(c.mipLevels) : "MAX"});
    words.insert(words.end(), {"-i", input, "-o", output});
    return words;
}

// PluginMain of the built FENK module, loaded once.
PluginEntry FenkEntry() {
    static std::string error;
    static const std::unique_ptr<EditorHost::FormatModule> module =
        EditorHost::FormatModule::Load(BWVOQ_FENK_MODULE, error);
    EXPECT_NE(module, nullptr) << error;
    return module != nullptr ? module->Entry() : nullptr;
}

class Saves : public PluginWorld, public testing::WithParamInterface<SaveCase> {};

TEST_P(Saves, WriteWhatTheConverterWritesFromTheSameDocument) {
    const SaveCase& c = GetParam();
    const Options& chosen = c.options;
    const EditorHost::Document document = PatternDocument(plugInModeRGBColor, 24, 20, 1);

    const PluginEntry entry = c.fenk ? FenkEntry() : CallPlugin;
    ASSERT_NE(entry, nullptr);
    EditorHost::HostSession session(entry, nullptr);
    ASSERT_EQ(session.Call(formatSelectorReadPrepare), noErr);
    ImageOptions options = FormatPlugin::DefaultGlobals().options;
    options.format = chosen.format;
    options.mipMode = chosen.mipMode;
    options.mipLevels = chosen.mipLevels;
    options.etcQuality = chosen.quality;
    options.colorCorrection = chosen.correction;
    SetOptions(session, options);
    const std::string extension = c.fenk ? ".fenk" : ".tga";
    const std::string saved = files.File("saved" + extension);
    Platform::FileHandle dataFork = Platform::CreateOrTruncateFile(saved.c_str());
    const int16_t result = session.Save(document, dataFork, false);
    Platform::CloseFile(dataFork);
    ASSERT_EQ(result, noErr);

    std::unique_ptr<CImage> image = EditorHost::DocumentImage(document);
    const std::string base = files.File("base.tga");
    const std::string expected = files.File("expected" + extension);
    ASSERT_TRUE(SaveImage(image.get(), base.c_str(), nullptr));
    const TestSupport::ConverterResult run =
        TestSupport::RunConverter(CommandWords(chosen, base, expected), "", "", {{"APPDATA", appData.Path()}});
    ASSERT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_EQ(TestSupport::WithoutFenkDate(TestSupport::ReadText(saved)),
              TestSupport::WithoutFenkDate(TestSupport::ReadText(expected)));
}

std::vector<Options> AllOptions() {
    struct Mip {
        const char* name;
        int32_t mode;
        int32_t levels;
    };
    const Mip mips[] = {{"NoMipMap", NoMipMap, 0}, {"AllLevels", GenerateMipMap, 0}, {"TwoLevels", GenerateMipMap, 2},
                        {"UseMipMapSendsNoLevels", UseMipMap, 3}};
    std::vector<Options> all;
    for (int32_t format = 0; format < kTextureFormatCount; ++format) {
        for (const Mip& mip : mips) {
            all.push_back({std::string(GetTextureFormatName(format)) + mip.name, format, mip.mode, mip.levels, Fast,
                           NONE});
        }
    }
    for (int32_t format : {ETC1, ETC1_A4}) {
        for (int32_t quality = FastPerceptual; quality < kEtcQualityCount; ++quality) {
            all.push_back({std::string(GetTextureFormatName(format)) + GetEtcQualityName(quality), format, NoMipMap,
                           0, quality, NONE});
        }
    }
    all.push_back({"Etc1SlowWithLevels", ETC1, GenerateMipMap, 0, Slow, NONE});
    all.push_back({"Etc1MediumAveraged", ETC1, NoMipMap, 0, Medium, VOQ_AVG});
    all.push_back({"Rgb8MappedToTop", RGB8, NoMipMap, 0, Fast, VOQ_TOP});
    all.push_back({"Rgba4MappedToBottom", RGBA4, GenerateMipMap, 0, Fast, VOQ_BTM});
    return all;
}

std::vector<SaveCase> AllSaveCases() {
    std::vector<SaveCase> cases;
    for (bool fenk : {false, true}) {
        for (const Options& o : AllOptions()) {
            cases.push_back({(fenk ? "Fenk" : "Tga") + o.name, fenk, o});
        }
    }
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
