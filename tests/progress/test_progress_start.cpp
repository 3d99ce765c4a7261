// A "-n" run's window starts while the run goes on: what the run says before
// the window's fate is known waits, then goes to the window, or to the console
// after the conversion line when no window could be made. A message box's
// message waits for the fate itself. The window here is a stand-in whose start
// the test lets finish.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "converter/CommandLine.h"
#include "converter/ProgressStart.h"
#include "converter/ProgressWindowCalls.h"
#include "converter/ReportMessage.h"
#include "image/ImageOptions.h"
#include "progress/XServerTools.h"

using ProgressTests::WaitUntil;

namespace {

constexpr double kPatience = 60.0;

// The stand-in window: its start waits until the test opens the gate.
struct StandInWindow {
    std::mutex lock;
    std::condition_variable gateOpened;
    bool gateOpen = false;
    bool shows = false;
    std::string caption;
    std::vector<std::pair<MessageLevel, std::string>> shown;
    int toldOfWaitingLines = 0;
};

StandInWindow* g_standIn = nullptr;

bool StandInStart() {
    std::unique_lock<std::mutex> guard(g_standIn->lock);
    g_standIn->gateOpened.wait(guard, [] { return g_standIn->gateOpen; });
    return g_standIn->shows;
}

void StandInSetCaption(const char* caption) {
    std::lock_guard<std::mutex> guard(g_standIn->lock);
    g_standIn->caption = caption;
}

bool StandInShow(MessageLevel level, MessageText& text) {
    std::lock_guard<std::mutex> guard(g_standIn->lock);
    if (!g_standIn->shows) return false;
    g_standIn->shown.emplace_back(level, text);
    return true;
}

void StandInShowWaiting() {
    std::lock_guard<std::mutex> guard(g_standIn->lock);
    ++g_standIn->toldOfWaitingLines;
}

bool StandInIsOpen() {
    std::lock_guard<std::mutex> guard(g_standIn->lock);
    return g_standIn->shows;
}

void StandInClose() {}

const ProgressWindowCalls kStandInCalls = {StandInStart,       StandInSetCaption, StandInShow,
                                           StandInShowWaiting, StandInIsOpen,     StandInClose};

class ProgressStart : public testing::Test {
protected:
    void SetUp() override {
        g_standIn = &window_;
        linked_ = std::exchange(g_progressWindowCalls, &kStandInCalls);
        line_.inputPath = "in/photo.tga";
        line_.outputPath = "out/photo.voq";
        line_.options.format = ImageLib::ETC1;
        line_.options.showProgress = 1;
        testing::internal::CaptureStdout();
    }
    void TearDown() override {
        OpenGate(window_.shows);
        SettleProgressWindow();
        if (!captured_) testing::internal::GetCapturedStdout();
        g_progressWindowCalls = linked_;
        g_standIn = nullptr;
    }

    void OpenGate(bool shows) {
        std::lock_guard<std::mutex> guard(window_.lock);
        window_.shows = shows;
        window_.gateOpen = true;
        window_.gateOpened.notify_all();
    }
    std::string Console() {
        captured_ = true;
        return testing::internal::GetCapturedStdout();
    }
    std::vector<std::pair<MessageLevel, std::string>> Shown() {
        std::lock_guard<std::mutex> guard(window_.lock);
        return window_.shown;
    }

    StandInWindow window_;
    const ProgressWindowCalls* linked_ = nullptr;
    CommandLine line_;
    bool captured_ = false;
};

TEST_F(ProgressStart, WithoutAWindowTheHeldLinesFollowTheConversionLine) {
    BeginProgressWindow(line_);
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks.\b\b", 1, 4);
    ReportMessage(MessageLevel::Status, "Saving\n");
    OpenGate(false);
    SettleProgressWindow();
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks.\b\b", 4, 4);
    EXPECT_EQ(Console(),
              "in/photo.tga -> out/photo.voq \nCompressed 1 of 4 blocks.\b\bSaving\nCompressed 4 of 4 blocks.\b\b");
    EXPECT_EQ(line_.options.showProgress, 0);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ProgressStart, TheShownWindowGetsTheCaptionThenTheHeldLinesInOrder) {
    BeginProgressWindow(line_);
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks.", 1, 4);
    ReportMessage(MessageLevel::Status, "Saving");
    OpenGate(true);
    SettleProgressWindow();
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks.", 4, 4);
    const std::vector<std::pair<MessageLevel, std::string>> expected = {
        {MessageLevel::Progress, "Compressed 1 of 4 blocks."},
        {MessageLevel::Status, "Saving"},
        {MessageLevel::Progress, "Compressed 4 of 4 blocks."}};
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(window_.caption, "in/photo.tga -> out/photo.voq \n");
    EXPECT_EQ(Console(), "");
    EXPECT_EQ(line_.options.showProgress, 1);
}

TEST_F(ProgressStart, AnErrorWaitsForTheWindowsFateAndComesAfterTheHeldLines) {
    BeginProgressWindow(line_);
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks.", 1, 4);
    std::atomic<bool> reported = false;
    std::thread reporter([&] {
        ReportMessage(MessageLevel::Error, "not support (%s)\n", "out/photo.voq");
        reported = true;
    });
    EXPECT_FALSE(WaitUntil([&] { return reported.load(); }, 0.2)) << "the error went on before the window's fate";
    OpenGate(true);
    reporter.join();
    const std::vector<std::pair<MessageLevel, std::string>> expected = {
        {MessageLevel::Progress, "Compressed 1 of 4 blocks."}, {MessageLevel::Error, "not support (out/photo.voq)\n"}};
    EXPECT_EQ(Shown(), expected);
}

TEST_F(ProgressStart, BeforeTheEncodersOwnLineTheFateIsSettledAndAWaitingLineTold) {
    BeginProgressWindow(line_);
    std::thread opener([&] { OpenGate(true); });
    BeforeEncoderConsoleWrite();
    opener.join();
    EXPECT_EQ(window_.caption, "in/photo.tga -> out/photo.voq \n");
    EXPECT_EQ(window_.toldOfWaitingLines, 1);
}

TEST_F(ProgressStart, ARunWithoutTheWindowAnnouncesItselfAtOnce) {
    line_.options.showProgress = 0;
    BeginProgressWindow(line_);
    ReportMessage(MessageLevel::Progress, "Compressed %d of %d blocks.", 1, 4);
    EXPECT_EQ(Console(), "in/photo.tga -> out/photo.voq \nCompressed 1 of 4 blocks.");
}

}  // namespace
