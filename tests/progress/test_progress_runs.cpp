// "-n" runs through the real binary: under the X server the progress window
// stands above every other window at the bottom-right of the work area while
// ETC1 is compressed and an error waits for its box's OK; without a server a
// "-n" run is exactly the run without it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "progress/XServerTools.h"
#include "support/ConverterRun.h"
#include "support/TestFiles.h"
#include "support/TgaBuilder.h"

using namespace ProgressTests;
using TestSupport::ConverterResult;
using TestSupport::EnvironmentChanges;
using TestSupport::ReadBytes;
using TestSupport::RunConverter;
using TestSupport::RunningProgram;
using TestSupport::TempFolder;

namespace {

// Pseudo-random pixels, the slowest kind for the Slow method: a 768 x 768
// image keeps the window up for seconds.
std::vector<uint8_t> NoiseTga(uint16_t side) {
    TgaFile file;
    file.width = side;
    file.height = side;
    uint32_t state = 12345;
    file.data.resize(size_t{side} * side * 3);
    for (uint8_t& byte : file.data) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<uint8_t>(state >> 24);
    }
    return file.Bytes();
}

// A run's input and output paths and its own empty ETC1 cache folder.
struct RunFiles {
    TempFolder folder;
    TempFolder appData;
    std::string input = folder.File("noise.tga");
    std::string output = folder.File("noise.voq");

    explicit RunFiles(uint16_t side) { TestSupport::WriteBytes(input, NoiseTga(side)); }
    std::vector<std::string> Arguments(bool window) const {
        std::vector<std::string> words = {"-i", input, "-o", output, "-f", "ETC1", "-e", "Slow"};
        if (window) words.push_back("-n");
        return words;
    }
    std::string ConversionLine() const { return input + " -> " + output + " \n"; }
};

class ProgressWindowOnXServer : public testing::Test {
protected:
    void SetUp() override {
        if (!XServerAnswers()) GTEST_SKIP() << "no X server: DISPLAY is unset or names no server that answers";
    }
};

std::optional<XWindow> OnlyWindowTitled(const std::string& title) {
    std::vector<XWindow> windows = WindowsTitled(title);
    if (windows.size() != 1) return std::nullopt;
    return windows.front();
}

TEST_F(ProgressWindowOnXServer, StandsAboveAtTheBottomRightWhileCompressingAndGoesAtTheEnd) {
    RunFiles files(768);
    RunningProgram run(BWVOQ_CONVERTER, files.Arguments(true), "", "", {{"APPDATA", files.appData.Path()}});
    std::optional<XWindow> dialog;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = OnlyWindowTitled(files.ConversionLine())).has_value(); }, 20.0))
        << "no window titled with the conversion line";

    ScreenRect area = WorkArea();
    ScreenRect place = FramedPlace(*dialog);
    EXPECT_EQ(place.Right(), area.Right() - 8);
    EXPECT_EQ(place.Bottom(), area.Bottom() - 4);
    EXPECT_NE(WindowState(*dialog).find("_NET_WM_STATE_ABOVE"), std::string::npos);

    // Another window over the same corner, activated as a person would: the
    // progress window stays above it.
    RunningProgram cover("/usr/bin/xmessage", {"-geometry", "600x300-0-0", "-title", "covering", "covering"});
    std::optional<XWindow> covering;
    ASSERT_TRUE(WaitUntil([&] { return (covering = OnlyWindowTitled("covering")).has_value(); }, 10.0));
    Activate(*covering);
    std::vector<XWindow> order = StackingOrder();
    auto dialogAt = std::find(order.begin(), order.end(), *dialog);
    auto coveringAt = std::find(order.begin(), order.end(), *covering);
    ASSERT_NE(dialogAt, order.end());
    ASSERT_NE(coveringAt, order.end());
    EXPECT_GT(dialogAt, coveringAt) << "the progress window is below the window that covers it";
    EXPECT_FALSE(run.HasEnded()) << "the conversion ended before the window could be looked at";

    ConverterResult result = run.Wait();
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_TRUE(WindowsTitled(files.ConversionLine()).empty()) << "the window outlived the run";
    // The console keeps the closing line break and nothing of the progress.
    EXPECT_EQ(result.output, "\n");

    RunFiles plain(768);
    ConverterResult without = RunConverter({"-i", files.input, "-o", plain.output, "-f", "ETC1", "-e", "Slow"}, "", "",
                                           {{"APPDATA", plain.appData.Path()}});
    ASSERT_EQ(without.exitStatus, 0);
    EXPECT_EQ(ReadBytes(files.output), ReadBytes(plain.output)) << "the window changed the texture";
}

TEST_F(ProgressWindowOnXServer, ErrorWaitsForItsBoxToBeClosed) {
    RunFiles files(64);
    std::vector<std::string> arguments = {"-i", files.input, "-o", files.folder.File("missing/out.voq"), "-f",
                                          "ETC1", "-n"};
    RunningProgram run(BWVOQ_CONVERTER, arguments, "", "", {{"APPDATA", files.appData.Path()}});
    std::optional<XWindow> box;
    ASSERT_TRUE(WaitUntil([&] { return (box = OnlyWindowTitled("Error")).has_value(); }, 20.0))
        << "no box titled \"Error\"";
    std::vector<XWindow> dialogs = WindowsTitled(files.input + " -> " + files.folder.File("missing/out.voq") + " \n");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_NE(WindowState(*box).find("_NET_WM_STATE_MODAL"), std::string::npos);

    // The run waits for the box however long it stays.
    EXPECT_FALSE(WaitUntil([&] { return run.HasEnded(); }, 0.5)) << "the run ended with its error box open";
    Activate(*box);
    PressKey(*box, "Return");
    ASSERT_TRUE(WaitUntil([&] { return run.HasEnded(); }, 20.0)) << "OK did not end the run";
    ConverterResult result = run.Wait();
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.output, "\n");
}

struct NoServerCase {
    const char* name;
    std::optional<std::string> display;
};

class WithoutXServer : public testing::TestWithParam<NoServerCase> {};

TEST_P(WithoutXServer, WindowRunPrintsAndWritesWhatThePlainRunDoes) {
    RunFiles files(64);
    // Each run gets an empty cache folder of its own.
    EnvironmentChanges environment = {{"DISPLAY", GetParam().display}, {"BWVOQ_DISPLAY", std::nullopt}};
    ConverterResult without = RunConverter(files.Arguments(false), "", "", environment);
    std::vector<uint8_t> plainTexture = ReadBytes(files.output);
    ConverterResult withWindow = RunConverter(files.Arguments(true), "", "", environment);

    EXPECT_EQ(without.exitStatus, 0);
    EXPECT_EQ(withWindow.exitStatus, 0);
    EXPECT_EQ(withWindow.output, without.output);
    EXPECT_EQ(withWindow.errors, without.errors);
    EXPECT_EQ(ReadBytes(files.output), plainTexture);
}

INSTANTIATE_TEST_SUITE_P(ProgressRuns, WithoutXServer,
                         testing::Values(NoServerCase{"DisplayUnset", std::nullopt},
                                         NoServerCase{"DisplayNamesNoServer", ":987"}),
                         [](const testing::TestParamInfo<NoServerCase>& info) { return std::string(info.param.name); });

}  // namespace
