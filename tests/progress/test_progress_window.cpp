// The progress window on the memory display: its thread, the globals, the
// message sink by level with and without the window, message boxes that hold
// the reporting thread, and the close.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>
#include <thread>

#include "converter/Conversion.h"
#include "converter/ProgressStart.h"
#include "converter/ProgressWindow.h"
#include "converter/ReportMessage.h"
#include "progress/XServerTools.h"
#include "support/ScopedEnvironment.h"
#include "support/TestFiles.h"
#include "support/TgaBuilder.h"
#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

using ProgressTests::WaitUntil;

namespace {

// Long enough for a loaded machine and a sanitizer build; a passing test never waits it out.
constexpr double kPatience = 60.0;

std::string DialogText(ui::HWND dialog) {
    char text[2048] = "";
    ui::GetDlgItemText(dialog, kProgressTextId, text, sizeof text);
    return text;
}

int BarPosition(ui::HWND dialog) {
    return static_cast<int>(ui::SendDlgItemMessage(dialog, kProgressBarId, ui::PBM_GETPOS, 0, 0));
}

class ProgressWindow : public testing::Test {
protected:
    void SetUp() override {
        ui::UseMemoryDisplay();
        window_ = StartProgressWindow();
        ASSERT_NE(window_, nullptr);
        ASSERT_EQ(window_, g_progressWindow.load());
        ASSERT_NE(g_progressDialog.load(), nullptr);
        dialog_ = g_progressDialog.load()->GetSafeHwnd();
    }
    void TearDown() override {
        if (g_progressWindow.load() != nullptr) CloseProgressWindow();
    }

    ui::HWND window_ = nullptr;
    ui::HWND dialog_ = nullptr;
};

TEST_F(ProgressWindow, HiddenWindowOwnsTheShownDialog) {
    EXPECT_EQ(ui::memory::FindWindowByClass(kProgressWindowClass), window_);
    char title[64] = "";
    ui::GetWindowText(window_, title, sizeof title);
    EXPECT_STREQ(title, "BWOrvikForVOQ");
    EXPECT_FALSE(ui::IsWindowVisible(window_));
    EXPECT_EQ(ui::GetParent(dialog_), window_);
    EXPECT_TRUE(ui::IsWindowVisible(dialog_));
    char caption[64] = "";
    ui::GetWindowText(dialog_, caption, sizeof caption);
    EXPECT_STREQ(caption, "Dialog");
    EXPECT_EQ(DialogText(dialog_), "");
    EXPECT_EQ(BarPosition(dialog_), 0);
}

TEST_F(ProgressWindow, CloseClearsBothGlobalsDestroysBothWindowsAndEndsTheThreadWithZero) {
    EXPECT_EQ(CloseProgressWindow(), 0);
    EXPECT_EQ(g_progressWindow.load(), nullptr);
    EXPECT_EQ(g_progressDialog.load(), nullptr);
    EXPECT_FALSE(ui::IsWindow(window_));
    EXPECT_FALSE(ui::IsWindow(dialog_));
}

TEST_F(ProgressWindow, AWindowCanBeStartedAgainAfterTheFirstIsClosed) {
    ASSERT_EQ(CloseProgressWindow(), 0);
    ui::HWND again = StartProgressWindow();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, window_);
}

TEST_F(ProgressWindow, StatusSetsTheText) {
    ReportMessage(MessageLevel::Status, "Loading %s", "in.tga");
    EXPECT_EQ(DialogText(dialog_), "Loading in.tga");
    EXPECT_EQ(BarPosition(dialog_), 0);
}

struct ProgressCase {
    const char* name;
    double percentage;
    const char* shown;
    int position;
};

void PrintTo(const ProgressCase& c, std::ostream* out) { *out << c.name; }

class ProgressLevel : public ProgressWindow, public testing::WithParamInterface<ProgressCase> {};

TEST_P(ProgressLevel, ShowsTheLineWithoutBackspacesAndMovesTheBar) {
    const ProgressCase& c = GetParam();
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks, %.1f%% finished.\b\b\b\b\b\b", 7, 56,
                  c.percentage);
    // The line reaches the window soon after the report returns.
    EXPECT_TRUE(WaitUntil([&] { return DialogText(dialog_) == c.shown; }, kPatience))
        << "the text reads \"" << DialogText(dialog_) << '"';
    EXPECT_TRUE(WaitUntil([&] { return BarPosition(dialog_) == c.position; }, kPatience))
        << "the bar stands at " << BarPosition(dialog_);
}

INSTANTIATE_TEST_SUITE_P(
    ProgressWindow, ProgressLevel,
    testing::Values(ProgressCase{"HalfRoundsUp", 12.5, "Compressed 7 of 56 blocks, 12.5% finished.", 13},
                    ProgressCase{"BelowHalfRoundsDown", 12.4, "Compressed 7 of 56 blocks, 12.4% finished.", 12},
                    ProgressCase{"Finished", 100.0, "Compressed 7 of 56 blocks, 100.0% finished.", 100}),
    [](const testing::TestParamInfo<ProgressCase>& info) { return std::string(info.param.name); });

// A line and then the end of its level, as the encoder reports them: lines
// that come close together wait for a later one or for the level's end.
void ReportLineEndingALevel(const char* line) {
    ReportMessage(MessageLevel::Progress, "%s", line);
    BeforeEncoderConsoleWrite();
}

TEST_F(ProgressWindow, ProgressTextOutsideThePatternLeavesTheBar) {
    ReportLineEndingALevel("Compressed 7 of 56 blocks, 40.0% finished.");
    ASSERT_TRUE(WaitUntil([&] { return BarPosition(dialog_) == 40; }, kPatience));
    ReportLineEndingALevel("Saving\b\b");
    EXPECT_TRUE(WaitUntil([&] { return DialogText(dialog_) == "Saving"; }, kPatience));
    // A later position shows that nothing moved the bar in between.
    ReportLineEndingALevel("Compressed 8 of 56 blocks, 41.0% finished.");
    ASSERT_TRUE(WaitUntil([&] { return BarPosition(dialog_) == 41; }, kPatience));
}

TEST_F(ProgressWindow, ManyLinesAtOnceEndWithTheNewestShownAtTheLevelsEnd) {
    for (int done = 1; done <= 500; ++done) {
        ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks, %.1f%% finished.", done, 500,
                      done * 100.0 / 500);
    }
    BeforeEncoderConsoleWrite();
    EXPECT_TRUE(WaitUntil([&] { return DialogText(dialog_) == "Compressed 500 of 500 blocks, 100.0% finished."; },
                          kPatience));
    EXPECT_TRUE(WaitUntil([&] { return BarPosition(dialog_) == 100; }, kPatience));
}

TEST_F(ProgressWindow, StatusAfterProgressStaysShown) {
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks, %.1f%% finished.", 7, 56, 12.5);
    ReportMessage(MessageLevel::Status, "Saving");
    EXPECT_EQ(DialogText(dialog_), "Saving");
    EXPECT_TRUE(WaitUntil([&] { return BarPosition(dialog_) == 13; }, kPatience));
    EXPECT_EQ(DialogText(dialog_), "Saving");
}

TEST_F(ProgressWindow, LongTextShowsItsFirst1023Characters) {
    std::string line(2000, 'x');
    for (size_t i = 0; i < line.size(); ++i) line[i] = static_cast<char>('a' + i % 26);
    ReportMessage(MessageLevel::Status, "%s", line.c_str());
    EXPECT_EQ(DialogText(dialog_), line.substr(0, 1023));
}

class UnknownLevel : public ProgressWindow, public testing::WithParamInterface<int32_t> {};

TEST_P(UnknownLevel, ShowsNothingAndPrintsNothing) {
    ReportMessage(MessageLevel::Status, "before");
    size_t windows = ui::memory::TopLevelWindows().size();
    testing::internal::CaptureStdout();
    ReportMessage(static_cast<MessageLevel>(GetParam()), "Compressed 7 of 56 blocks, 50.0%% finished.");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(DialogText(dialog_), "before");
    EXPECT_EQ(ui::memory::TopLevelWindows().size(), windows);
    // Posted messages keep their order: once this text shows, any position
    // that the report could have posted has been handled.
    static const char kAfter[] = "after";
    ui::PostMessage(dialog_, WM_PROGRESS_SETTEXT, reinterpret_cast<ui::WPARAM>(kAfter), 0);
    ASSERT_TRUE(WaitUntil([&] { return DialogText(dialog_) == kAfter; }, kPatience));
    EXPECT_EQ(BarPosition(dialog_), 0);
}

INSTANTIATE_TEST_SUITE_P(ProgressWindow, UnknownLevel, testing::Values(4, -1),
                         [](const testing::TestParamInfo<int32_t>& info) {
                             return info.param < 0 ? std::string("Minus1") : std::to_string(info.param);
                         });

struct BoxCase {
    MessageLevel level;
    const char* caption;
};

void PrintTo(const BoxCase& c, std::ostream* out) { *out << c.caption; }

class MessageBoxLevel : public ProgressWindow, public testing::WithParamInterface<BoxCase> {};

TEST_P(MessageBoxLevel, OpensABoxOverTheDialogAndHoldsTheReporterUntilItIsClosed) {
    std::atomic<bool> returned = false;
    std::thread reporter([&] {
        ReportMessage(GetParam().level, "not support (%s)\n", "out.voq");
        returned = true;
    });
    // A box that never shows leaves the reporter blocked or returned: either
    // way the test ends (a thread left unjoined ends the program).
    ui::HWND box = nullptr;
    // The box exists a moment before it shows: wait for what a person would see.
    ASSERT_TRUE(WaitUntil(
        [&] {
            if (returned) return true;
            box = ui::memory::FindWindowByCaption(GetParam().caption);
            return box != nullptr && ui::IsWindowVisible(box);
        },
        kPatience));
    ASSERT_NE(box, nullptr) << "the report returned without a box";
    EXPECT_EQ(ui::GetParent(box), dialog_);
    EXPECT_TRUE(ui::IsWindowVisible(box));
    EXPECT_FALSE(WaitUntil([&] { return returned.load(); }, 0.3)) << "the report returned with its box open";
    ASSERT_TRUE(ui::memory::ClickWindow(ui::GetDlgItem(box, ui::IDOK)));
    reporter.join();
    EXPECT_TRUE(returned);
    EXPECT_EQ(ui::memory::FindWindowByCaption(GetParam().caption), nullptr);
}

INSTANTIATE_TEST_SUITE_P(ProgressWindow, MessageBoxLevel,
                         testing::Values(BoxCase{MessageLevel::Information, "Information"},
                                         BoxCase{MessageLevel::Error, "Error"}),
                         [](const testing::TestParamInfo<BoxCase>& info) {
                             return std::string(info.param.caption);
                         });

struct ConsoleCase {
    const char* name;
    int32_t level;
};

void PrintTo(const ConsoleCase& c, std::ostream* out) { *out << c.name; }

class WithoutWindow : public testing::TestWithParam<ConsoleCase> {};

TEST_P(WithoutWindow, EveryLevelIsPrintedAsItStands) {
    ASSERT_EQ(g_progressDialog.load(), nullptr);
    testing::internal::CaptureStdout();
    ReportMessage(static_cast<MessageLevel>(GetParam().level), "Compressed %d of %d blocks, %.1f%% finished.\b\b", 7,
                  56, 12.5);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Compressed 7 of 56 blocks, 12.5% finished.\b\b");
}

INSTANTIATE_TEST_SUITE_P(ProgressWindow, WithoutWindow,
                         testing::Values(ConsoleCase{"Status", 0}, ConsoleCase{"Information", 1},
                                         ConsoleCase{"Error", 2}, ConsoleCase{"Progress", 3}, ConsoleCase{"Four", 4},
                                         ConsoleCase{"Minus1", -1}),
                         [](const testing::TestParamInfo<ConsoleCase>& info) { return std::string(info.param.name); });

// A whole "-n" run in this process whose save fails: the dialog carries the
// conversion line, the error box holds the run, and the run closes the window.
TEST(ProgressConversion, FailedSaveWaitsForItsErrorBoxThenClosesTheWindow) {
    ui::UseMemoryDisplay();
    TestSupport::TempFolder folder;
    TestSupport::ScopedEnvironment environment;
    environment.Set("APPDATA", folder.Path());
    TgaFile tga;
    tga.width = 8;
    tga.height = 8;
    tga.data.assign(8 * 8 * 3, 0x80);
    std::string input = folder.File("in.tga");
    std::string output = folder.File("missing/out.voq");
    TestSupport::WriteBytes(input, tga.Bytes());

    std::string words[] = {"BW-VOQ-Orvik", "-i", input, "-o", output, "-f", "ETC1", "-n"};
    char* argv[std::size(words)];
    for (size_t i = 0; i < std::size(words); ++i) argv[i] = words[i].data();
    CommandLine line = ScanCommandLine(static_cast<int>(std::size(words)), argv);

    testing::internal::CaptureStdout();
    std::atomic<int> result = 1000;
    std::thread run([&] { result = RunConversion(line); });
    ui::HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return result != 1000 || (box = ui::memory::FindWindowByCaption("Error")) != nullptr; }, kPatience));
    ASSERT_NE(box, nullptr) << "the run ended without an error box";
    CProgressDlg* dialog = g_progressDialog.load();
    ASSERT_NE(dialog, nullptr);
    char caption[300] = "";
    ui::GetWindowText(dialog->GetSafeHwnd(), caption, sizeof caption);
    EXPECT_EQ(std::string(caption), input + " -> " + output + " \n");
    EXPECT_EQ(ui::GetParent(box), dialog->GetSafeHwnd());
    EXPECT_FALSE(WaitUntil([&] { return result != 1000; }, 0.3)) << "the run ended with its error box open";
    ASSERT_TRUE(ui::memory::ClickWindow(ui::GetDlgItem(box, ui::IDOK)));
    run.join();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n");
    EXPECT_EQ(result.load(), -1);
    EXPECT_EQ(g_progressWindow.load(), nullptr);
    EXPECT_EQ(g_progressDialog.load(), nullptr);
    EXPECT_EQ(ui::memory::FindWindowByClass(kProgressWindowClass), nullptr);
}

}  // namespace
