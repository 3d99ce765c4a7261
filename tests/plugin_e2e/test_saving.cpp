// Saving documents through editor-host, a module and the real converter: the
// file written equals what the converter writes itself from the "base.tga"
// that the save left behind, run with the save's command.
#include <algorithm>
#include <string>

#include "HostWorld.h"
#include "image/ImageFiles.h"

namespace HostTests {
namespace {

using namespace ImageLib;

// A picture file of `layout` (L, LA, RGB, RGBA or Indexed), 21 x 13 pixels.
void WritePicture(const std::string& path, int32_t layout) {
    CImage image;
    ASSERT_TRUE(image.Create(layout, 21, 13, layout == Indexed ? 256 : 0, 0, 0, 0));
    const int32_t size = GetImageByteSize(layout, 21, 13);
    for (int32_t i = 0; i < size; ++i) image.pixels[i] = static_cast<uint8_t>(i * 29 + i / 21);
    for (int32_t i = 0; layout == Indexed && i < 3 * 256; ++i) image.palette[i] = static_cast<uint8_t>(i * 5);
    ASSERT_TRUE(SaveImage(&image, path.c_str(), nullptr));
}

struct SaveCase {
    const char* name;
    int32_t fileLayout;  // of the document's file
    std::vector<std::string> options;
    bool fenk;
    int32_t hostLayout;  // of the document in the host: what the module hands the converter
};

void PrintTo(const SaveCase& c, std::ostream* out) { *out << c.name; }

// What the image library writes for the file's picture in the host's layout.
void WriteReferenceBase(const std::string& document, int32_t layout, const std::string& path) {
    std::unique_ptr<CImage> file = LoadImage(document);
    ASSERT_NE(file, nullptr);
    CImage image;
    ASSERT_TRUE(image.Create(layout, file->width, file->height, layout == Indexed ? file->paletteCount : 0, 0, 0, 0));
    const std::vector<uint8_t> pixels = PixelsAs(*file, layout);
    std::copy(pixels.begin(), pixels.end(), image.pixels.get());
    if (layout == Indexed) std::copy(file->palette.get(), file->palette.get() + 3 * 256, image.palette.get());
    ASSERT_TRUE(SaveImage(&image, path.c_str(), nullptr));
}

// The file's bytes; of a FENK file without its Date value, the one part that two writes may differ in.
std::string WrittenContent(const std::string& path) {
    return TestSupport::WithoutFenkDate(TestSupport::ReadText(path));
}

class Saving : public HostWorld, public testing::WithParamInterface<SaveCase> {};

TEST_P(Saving, WritesWhatTheConverterWritesFromTheSameBase) {
    const SaveCase& c = GetParam();
    const std::string document = files.File("document.tga");
    const std::string saved = files.File(c.fenk ? "saved.fenk" : "saved.tga");
    const std::string expected = files.File(c.fenk ? "expected.fenk" : "expected.tga");
    WritePicture(document, c.fileLayout);
    std::vector<std::string> arguments = {c.fenk ? kFenkModule : kTgaModule, "save", document, saved, "--no-options"};
    arguments.insert(arguments.end(), c.options.begin(), c.options.end());
    const TestSupport::ConverterResult run = RunHost(arguments);
    ASSERT_EQ(run.exitStatus, 0) << run.output << run.errors;

    // The module wrote the document, in the host's layout, as a plain TGA file.
    const std::string base = LeftBaseFile();
    ASSERT_FALSE(base.empty());
    const std::string referenceBase = files.File("reference-base.tga");
    WriteReferenceBase(document, c.hostLayout, referenceBase);
    EXPECT_EQ(TestSupport::ReadBytes(base), TestSupport::ReadBytes(referenceBase));

    const TestSupport::ConverterResult direct =
        TestSupport::RunConverter({"-c", "rle", "-f", "Rgb8", "-n", "-i", base, "-o", expected});
    ASSERT_EQ(direct.exitStatus, 0) << direct.output;
    EXPECT_EQ(WrittenContent(saved), WrittenContent(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Host, Saving,
    testing::Values(SaveCase{"Rgb", RGB, {}, false, RGB}, SaveCase{"RgbFenk", RGB, {}, true, RGB},
                    SaveCase{"Grey", L, {}, false, L}, SaveCase{"GreyFenk", L, {}, true, L},
                    SaveCase{"GreyFromRgb", RGB, {"--mode", "gray"}, false, L},
                    SaveCase{"GreyWithTwoAlphaChannels", LA, {"--mode", "gray", "--alpha-channels", "2"}, false, LA},
                    SaveCase{"GreyWithTwoAlphaChannelsFenk", LA, {"--mode", "gray", "--alpha-channels", "2"}, true,
                             LA},
                    SaveCase{"RgbWithAlpha", RGBA, {}, false, RGBA}, SaveCase{"RgbWithAlphaFenk", RGBA, {}, true, RGBA},
                    SaveCase{"RgbWithAddedAlpha", RGB, {"--alpha-channels", "1"}, false, RGBA},
                    SaveCase{"Indexed", Indexed, {}, false, Indexed}, SaveCase{"IndexedFenk", Indexed, {}, true, Indexed},
                    SaveCase{"RgbFromIndexed", Indexed, {"--mode", "rgb"}, false, RGB}),
    [](const testing::TestParamInfo<SaveCase>& info) { return info.param.name; });

class FailedSaves : public HostWorld {};

TEST_F(FailedSaves, LeaveAnExistingFileAsItWas) {
    const std::string document = files.File("document.tga");
    const std::string saved = files.File("saved.tga");
    WritePicture(document, RGB);
    TestSupport::WriteText(saved, "the user's earlier file");
    // A temporary directory in which no folder can be made.
    TestSupport::WriteText(runtime.File("BW-VOQ-Orvik"), "");
    const TestSupport::ConverterResult run = RunHost({kTgaModule, "save", document, saved, "--no-options"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output, "result -30900\n");
    EXPECT_EQ(TestSupport::ReadText(saved), "the user's earlier file");
    EXPECT_EQ(files.Entries(), (std::vector<std::string>{"document.tga", "saved.tga"}));
}

TEST_F(FailedSaves, WithoutADisplayTheOptionsDialogIsNotWaitedFor) {
    const std::string document = files.File("document.tga");
    WritePicture(document, RGB);
    for (const char* display : {"", "memory"}) {
        const TestSupport::ConverterResult run =
            RunHost({kTgaModule, "save", document, files.File("saved.tga")}, display);
        EXPECT_EQ(run.exitStatus, 2) << display;
        EXPECT_NE(run.errors.find("nobody can answer the dialog"), std::string::npos) << run.errors;
        EXPECT_FALSE(TestSupport::FileExists(files.File("saved.tga")));
    }
}

TEST_F(FailedSaves, TheIndexedModeNeedsAnIndexedFile) {
    const std::string document = files.File("document.tga");
    WritePicture(document, RGB);
    const TestSupport::ConverterResult run =
        RunHost({kTgaModule, "save", document, files.File("saved.tga"), "--mode", "indexed", "--no-options"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_FALSE(TestSupport::FileExists(files.File("saved.tga")));
}

}  // namespace
}  // namespace HostTests
