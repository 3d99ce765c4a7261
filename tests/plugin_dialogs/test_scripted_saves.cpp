// Saving through editor-host with the save-options dialog played by a script:
// the file written equals what the converter writes itself from the same
// "base.tga" with the options chosen in the dialog.
#include <string>
#include <vector>

#include "image/Image.h"
#include "image/ImageFiles.h"
#include "plugin_e2e/HostWorld.h"

namespace HostTests {
namespace {

using namespace ImageLib;

// An RGBA picture file of 64 x 64 pixels with a pattern in every channel.
void WriteDocument(const std::string& path) {
    CImage image;
    ASSERT_TRUE(image.Create(RGBA, 64, 64, 0, 0, 0, 0));
    for (int32_t i = 0; i < 64 * 64 * 4; ++i) image.pixels[i] = static_cast<uint8_t>(i * 13 + i / 256);
    ASSERT_TRUE(SaveImage(&image, path.c_str(), nullptr));
}

struct ScriptCase {
    std::string name;
    std::string script;                  // the choices, before "ok"
    std::vector<std::string> converter;  // the same choices as the converter's options
    bool fenk = false;
};

void PrintTo(const ScriptCase& c, std::ostream* out) { *out << c.name; }

std::vector<ScriptCase> ScriptCases() {
    static const char* kFormats[] = {"L4",     "L8",   "A4",      "A8",    "La4",   "La8",  "Hilo8",
                                     "Rgb565", "Rgb8", "Rgb5_a1", "Rgba4", "Rgba8", "Etc1", "Etc1_a4"};
    static const char* kMethods[] = {"Fast", "Medium", "Slow", "FastPerceptual", "MediumPerceptual", "SlowPerceptual"};
    static const char* kCorrections[] = {"VOQ_TOP", "VOQ_BTM", "VOQ_AVG"};
    std::vector<ScriptCase> cases;
    for (int f = 0; f < 14; ++f) {
        ScriptCase c{std::string("Format") + kFormats[f], "click " + std::to_string(1100 + f), {"-f", kFormats[f]}};
        if (f >= 12) c.converter.insert(c.converter.end(), {"-e", "MediumPerceptual"});
        cases.push_back(c);
    }
    for (int m = 0; m < 6; ++m) {
        cases.push_back({std::string("Etc1") + kMethods[m], "click 1112; select 1003 " + std::to_string(m),
                         {"-f", "Etc1", "-e", kMethods[m]}});
    }
    for (int t = 0; t < 3; ++t) {
        cases.push_back({std::string("Rgb565") + kCorrections[t], "click 1107; select 1004 " + std::to_string(t + 1),
                         {"-f", "Rgb565", "-t", kCorrections[t]}});
    }
    cases.push_back({"AllLevels", "click 1107; click 1021", {"-f", "Rgb565", "-m", "MAX"}});
    cases.push_back({"TwoLevels", "click 1101; click 1021; select 1002 3", {"-f", "L8", "-m", "2"}});
    cases.push_back({"Etc1A4LevelsAndCorrection", "click 1113; click 1021; select 1002 1; select 1004 3",
                     {"-f", "Etc1_a4", "-e", "MediumPerceptual", "-t", "VOQ_AVG", "-m", "4"}});
    cases.push_back({"PreviewOff", "click 1007; click 1110; click 1021", {"-f", "Rgba4", "-m", "MAX"}});
    cases.push_back({"ZoomedAndScrolled", "click 1006; click 1006; scroll v pagedown; size 700 650; click 1108",
                     {"-f", "Rgb8"}});
    cases.push_back({"Fenk", "click 1109; select 1004 2", {"-f", "Rgb5_a1", "-t", "VOQ_BTM"}, true});
    return cases;
}

class ScriptedSave : public HostWorld, public testing::WithParamInterface<ScriptCase> {};

TEST_P(ScriptedSave, WritesWhatTheConverterWritesWithTheChosenOptions) {
    const ScriptCase& c = GetParam();
    const std::string document = files.File("document.tga");
    const std::string saved = files.File(c.fenk ? "saved.fenk" : "saved.tga");
    const std::string expected = files.File(c.fenk ? "expected.fenk" : "expected.tga");
    WriteDocument(document);
    const TestSupport::ConverterResult run =
        RunHost({c.fenk ? kFenkModule : kTgaModule, "save", document, saved, "--dialog", c.script + "; ok"});
    ASSERT_EQ(run.exitStatus, 0) << run.output << run.errors;

    const std::string base = LeftBaseFile();
    ASSERT_FALSE(base.empty());
    std::vector<std::string> arguments = {"-c", "rle"};
    arguments.insert(arguments.end(), c.converter.begin(), c.converter.end());
    arguments.insert(arguments.end(), {"-n", "-i", base, "-o", expected});
    const TestSupport::ConverterResult direct = TestSupport::RunConverter(arguments);
    ASSERT_EQ(direct.exitStatus, 0) << direct.output;
    EXPECT_EQ(TestSupport::WithoutFenkDate(TestSupport::ReadText(saved)),
              TestSupport::WithoutFenkDate(TestSupport::ReadText(expected)));
}

INSTANTIATE_TEST_SUITE_P(Dialog, ScriptedSave, testing::ValuesIn(ScriptCases()),
                         [](const testing::TestParamInfo<ScriptCase>& info) { return info.param.name; });

class FailedScripts : public HostWorld {
protected:
    void SetUp() override { WriteDocument(files.File("document.tga")); }
    TestSupport::ConverterResult Save(const std::string& script) {
        return RunHost({kTgaModule, "save", files.File("document.tga"), files.File("saved.tga"), "--dialog", script});
    }
};

TEST_F(FailedScripts, CancelGivesTheHostUserCancelledAndWritesNothing) {
    const TestSupport::ConverterResult run = Save("click 1107; cancel");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.output, "result -128\n");
    EXPECT_EQ(files.Entries(), std::vector<std::string>{"document.tga"});
}

TEST_F(FailedScripts, AMissingControlOrAnOpenDialogSavesNothing) {
    for (const char* script : {"click 1234; ok", "select 1003 6; ok", "click 1107", "shot /nonexistent/a.png; ok"}) {
        const TestSupport::ConverterResult run = Save(script);
        EXPECT_EQ(run.exitStatus, 2) << script;
        EXPECT_NE(run.errors.find("dialog script"), std::string::npos) << run.errors;
        EXPECT_EQ(files.Entries(), std::vector<std::string>{"document.tga"}) << script;
    }
}

TEST_F(FailedScripts, OkBeforeTheLastActionSavesNothing) {
    const TestSupport::ConverterResult run = Save("click 1; click 1107");
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.errors.find("closed before \"click 1107\""), std::string::npos) << run.errors;
    EXPECT_EQ(files.Entries(), std::vector<std::string>{"document.tga"});
}

TEST_F(FailedScripts, AboutIsClosedByAClick) {
    EXPECT_EQ(RunHost({kTgaModule, "about", "--dialog", "click 1"}).exitStatus, 0);
    const TestSupport::ConverterResult open = RunHost({kTgaModule, "about", "--dialog", "shot " + files.File("a.png")});
    EXPECT_EQ(open.exitStatus, 2);
    EXPECT_TRUE(TestSupport::FileExists(files.File("a.png")));
}

}  // namespace
}  // namespace HostTests
