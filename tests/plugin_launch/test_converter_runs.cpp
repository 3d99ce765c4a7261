// Runs judged by a stand-in converter: a run succeeds only when the converter
// exits with 0 and wrote the output anew; one run at a time; every failure
// names the step that failed.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <ostream>
#include <string>

#include "LaunchWorld.h"
#include "image/ImageOptions.h"
#include "plugin/launch/ConverterLaunch.h"
#include "ui/System.h"

using namespace ImageLib;
using LaunchTests::CountRuns;
using LaunchTests::LaunchWorld;
using PluginLaunch::ConvertError;

namespace {

class ConverterRuns : public LaunchWorld {
protected:
    void SetUp() override {
        LaunchWorld::SetUp();
        environment.Set("BW_ETCWORKS", tools.Path());
        options.format = RGB8;
    }

    void UseStandIn(const std::string& behaviour) { LaunchTests::WriteStandInConverter(tools.Path(), log, behaviour); }

    // ConvertViaConverter of a small RGB image into a TGA, giving the output path or "".
    std::string Convert() {
        char* converted = PluginLaunch::ConvertViaConverter(path, PluginLaunch::kOutputTga, image.get(), &options);
        return converted != nullptr ? converted : "";
    }

    ConvertError LastError() const { return static_cast<ConvertError>(PluginLaunch::g_lastConvertError); }

    std::string log = tools.File("runs.log");
    std::unique_ptr<CImage> image = LaunchTests::PhotoImage(16, 8, RGB);
    ImageOptions options;
    char path[PluginLaunch::kTempPathSize] = {};
};

TEST_F(ConverterRuns, TheOutputOfAGoodRunIsTaken) {
    UseStandIn("printf converted > \"$out\"");
    EXPECT_EQ(Convert(), ConverterFile("Rgb8NONE.tga"));
    EXPECT_EQ(LastError(), ConvertError::None);
    EXPECT_EQ(TestSupport::ReadText(ConverterFile("Rgb8NONE.tga")), "converted");
    EXPECT_FALSE(PluginLaunch::g_converterBusy);
    EXPECT_EQ(TestSupport::ReadText(log), "[-c][rle][-f][Rgb8][-n][-i][" + ConverterFile("base.tga") + "][-o][" +
                                              ConverterFile("Rgb8NONE.tga") + "]\n");
}

TEST_F(ConverterRuns, TheCursorIsRestoredAfterTheRun) {
    UseStandIn("printf converted > \"$out\"");
    ui::HCURSOR arrow = ui::LoadCursor(nullptr, ui::IDC_ARROW);
    ui::SetCursor(arrow);
    EXPECT_NE(Convert(), "");
    EXPECT_EQ(ui::GetCursor(), arrow);
    UseStandIn("exit 1");
    EXPECT_EQ(Convert(), "");
    EXPECT_EQ(ui::GetCursor(), arrow);
    ui::SetCursor(nullptr);
}

// A folder with blanks stays one argument, as the converter's path does.
TEST_F(ConverterRuns, PathsWithBlanksStayOneArgument) {
    std::string runtimeWithBlank = runtime.File("my temp");
    ::mkdir(runtimeWithBlank.c_str(), 0700);
    environment.Set("XDG_RUNTIME_DIR", runtimeWithBlank);
    std::string toolsWithBlank = tools.File("bw tools");
    ::mkdir(toolsWithBlank.c_str(), 0755);
    LaunchTests::WriteStandInConverter(toolsWithBlank, log, "printf converted > \"$out\"");
    environment.Set("BW_ETCWORKS", toolsWithBlank);
    options.format = ETC1;
    options.etcQuality = SlowPerceptual;
    options.colorCorrection = VOQ_BTM;
    options.mipMode = GenerateMipMap;
    options.mipLevels = 2;
    std::string output = Convert();
    std::string folder = runtimeWithBlank + "/BW-VOQ-Orvik/" + std::to_string(::getpid());
    EXPECT_EQ(output, folder + "/Etc1VOQ_BTMSlowPerceptual.tga");
    EXPECT_EQ(TestSupport::ReadText(log), "[-c][rle][-f][Etc1][-e][SlowPerceptual][-t][VOQ_BTM][-n][-m][2][-i][" +
                                              folder + "/base.tga][-o][" + output + "]\n");
}

struct FailedRunCase {
    const char* name;
    const char* behaviour;
};

void PrintTo(const FailedRunCase& c, std::ostream* out) { *out << c.name; }

class FailedRuns : public ConverterRuns, public testing::WithParamInterface<FailedRunCase> {};

// An output of the same name left by an earlier save is there before every case.
TEST_P(FailedRuns, FailWithCommandFailedAndLeaveNoStaleOutput) {
    char stale[PluginLaunch::kTempPathSize];
    ASSERT_NE(PluginLaunch::MakeTempPath(stale, PluginLaunch::kOutputTga, RGB8, Fast, NONE), nullptr);
    TestSupport::WriteText(stale, "from an earlier save");
    UseStandIn(GetParam().behaviour);
    EXPECT_EQ(Convert(), "");
    EXPECT_EQ(LastError(), ConvertError::CommandFailed);
    EXPECT_STREQ(PluginLaunch::GetErrorMessage(), "BW-VOQ-Orvik: Command failed.");
    EXPECT_EQ(CountRuns(log), 1);
    EXPECT_NE(TestSupport::ReadText(stale), "from an earlier save");
    EXPECT_FALSE(PluginLaunch::g_converterBusy);
}

INSTANTIATE_TEST_SUITE_P(Launch, FailedRuns,
                         testing::Values(FailedRunCase{"WritesNothing", "exit 0"},
                                         FailedRunCase{"FailsAfterWriting", "printf partial > \"$out\"; exit 255"},
                                         FailedRunCase{"KilledAfterWriting", "printf partial > \"$out\"; kill -KILL $$"}),
                         [](const testing::TestParamInfo<FailedRunCase>& info) { return info.param.name; });

// With its input on /dev/null, a converter that waits for Enter ends instead of hanging the editor.
TEST_F(ConverterRuns, AConverterWaitingForInputDoesNotHang) {
    UseStandIn("read line; printf converted > \"$out\"");
    EXPECT_NE(Convert(), "");
}

TEST_F(ConverterRuns, ASecondRunWhileOneIsInProgressStartsNothing) {
    UseStandIn("printf converted > \"$out\"");
    PluginLaunch::g_converterBusy = true;
    EXPECT_FALSE(PluginLaunch::RunConverter(tools.File("BW-VOQ-Orvik").c_str(), "/in.tga", tools.File("o.tga").c_str(),
                                            RGB8, Fast, NoMipMap, 0, NONE));
    EXPECT_EQ(Convert(), "");
    EXPECT_EQ(LastError(), ConvertError::CommandFailed);
    EXPECT_EQ(CountRuns(log), 0);
    EXPECT_FALSE(TestSupport::FileExists(ConverterFile("base.tga"))) << "the running conversion reads it";
    EXPECT_TRUE(PluginLaunch::g_converterBusy) << "the refused run must not end the other one's";

    PluginLaunch::g_converterBusy = false;
    EXPECT_NE(Convert(), "");
    EXPECT_EQ(CountRuns(log), 1);
}

TEST_F(ConverterRuns, NoConverterAnywhereStartsNothing) {
    UseStandIn("printf converted > \"$out\"");
    environment.Set("BW_ETCWORKS", std::nullopt);
    environment.Set("PATH", ".:tools");
    char previous[4096];
    ASSERT_NE(::getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(::chdir(tools.Path().c_str()), 0);
    std::string output = Convert();
    ASSERT_EQ(::chdir(previous), 0);
    EXPECT_EQ(output, "");
    EXPECT_EQ(LastError(), ConvertError::CommandNotFound);
    EXPECT_STREQ(PluginLaunch::GetErrorMessage(), "BW-VOQ-Orvik: Command not found.");
    EXPECT_EQ(CountRuns(log), 0);
}

// The first step that fails names the error: options, output path, temporary
// folder, "base.tga", converter, run.
TEST_F(ConverterRuns, ErrorsNameTheFirstStepThatFailed) {
    environment.Set("BW_ETCWORKS", std::nullopt);
    EXPECT_EQ(PluginLaunch::ConvertViaConverter(path, 1, image.get(), nullptr), nullptr);
    EXPECT_EQ(LastError(), ConvertError::SystemError);
    EXPECT_EQ(PluginLaunch::ConvertViaConverter(path, 4, image.get(), &options), nullptr);
    EXPECT_EQ(LastError(), ConvertError::PathNotFound);
    EXPECT_EQ(PluginLaunch::ConvertViaConverter(path, 1, nullptr, &options), nullptr);
    EXPECT_EQ(LastError(), ConvertError::SaveTempFileFailed);
    CImage empty;
    EXPECT_EQ(PluginLaunch::ConvertViaConverter(path, 1, &empty, &options), nullptr);
    EXPECT_EQ(LastError(), ConvertError::SaveTempFileFailed);
    EXPECT_EQ(PluginLaunch::ConvertViaConverter(path, 1, image.get(), &options), nullptr);
    EXPECT_EQ(LastError(), ConvertError::CommandNotFound);
}

TEST_F(ConverterRuns, ATemporaryFolderThatOthersCouldEnterIsRefused) {
    UseStandIn("printf converted > \"$out\"");
    std::string shared = runtime.File("BW-VOQ-Orvik");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ::chmod(shared.c_str(), 0777);
    EXPECT_EQ(Convert(), "");
    EXPECT_EQ(LastError(), ConvertError::PathNotFound);
    EXPECT_STREQ(PluginLaunch::GetErrorMessage(), "BW-VOQ-Orvik: Path not found.");
    EXPECT_FALSE(TestSupport::FileExists(ConverterFile("base.tga")));
    EXPECT_EQ(CountRuns(log), 0);
}

TEST_F(ConverterRuns, ATemporaryFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a folder to another user";
    UseStandIn("printf converted > \"$out\"");
    std::string shared = runtime.File("BW-VOQ-Orvik");
    ASSERT_EQ(::mkdir(shared.c_str(), 0700), 0);
    ASSERT_EQ(::chown(shared.c_str(), 65534, 65534), 0);
    EXPECT_EQ(Convert(), "");
    EXPECT_EQ(LastError(), ConvertError::PathNotFound);
    EXPECT_EQ(CountRuns(log), 0);
}

TEST_F(ConverterRuns, TmpdirServesWhenThereIsNoRuntimeFolder) {
    UseStandIn("printf converted > \"$out\"");
    environment.Set("XDG_RUNTIME_DIR", std::nullopt);
    TestSupport::TempFolder tmpdir;
    environment.Set("TMPDIR", tmpdir.Path());
    EXPECT_EQ(Convert(), tmpdir.Path() + "/BW-VOQ-Orvik/" + std::to_string(::getpid()) + "/Rgb8NONE.tga");
}

// A link planted at "base.tga" or at the output's name is replaced, never written through.
TEST_F(ConverterRuns, PlantedLinksAreNotFollowed) {
    UseStandIn("printf converted > \"$out\"");
    char output[PluginLaunch::kTempPathSize];
    ASSERT_NE(PluginLaunch::MakeTempPath(output, PluginLaunch::kOutputTga, RGB8, Fast, NONE), nullptr);
    std::string victimOfBase = tools.File("victim-base");
    std::string victimOfOutput = tools.File("victim-output");
    TestSupport::WriteText(victimOfBase, "keep me");
    TestSupport::WriteText(victimOfOutput, "keep me too");
    ASSERT_EQ(::symlink(victimOfBase.c_str(), ConverterFile("base.tga").c_str()), 0);
    ASSERT_EQ(::symlink(victimOfOutput.c_str(), output), 0);

    EXPECT_EQ(Convert(), output);
    EXPECT_EQ(TestSupport::ReadText(victimOfBase), "keep me");
    EXPECT_EQ(TestSupport::ReadText(victimOfOutput), "keep me too");
    struct stat info {};
    ASSERT_EQ(::lstat(ConverterFile("base.tga").c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));
}

struct MessageCase {
    int32_t error;
    const char* text;
};

void PrintTo(const MessageCase& c, std::ostream* out) { *out << "error " << c.error; }

class ErrorMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(ErrorMessages, GiveTheTextOfTheLastError) {
    PluginLaunch::g_lastConvertError = GetParam().error;
    EXPECT_STREQ(PluginLaunch::GetErrorMessage(), GetParam().text);
    EXPECT_EQ(PluginLaunch::GetErrorMessage(), PluginLaunch::g_errorText);
}

INSTANTIATE_TEST_SUITE_P(Launch, ErrorMessages,
                         testing::Values(MessageCase{0, ""}, MessageCase{1, "System error."},
                                         MessageCase{2, "BW-VOQ-Orvik: Path not found."},
                                         MessageCase{3, "BW-VOQ-Orvik: Command not found."},
                                         MessageCase{4, "BW-VOQ-Orvik: Command failed."},
                                         MessageCase{5, "Failed to save temp file."},
                                         MessageCase{6, "Failed to load temp file."}, MessageCase{7, ""},
                                         MessageCase{-1, ""}));

}  // namespace
