// "-n" runs through the real binary under the X server: the progress window
// stands above every other window at the bottom-right of the work area while
// ETC1 is compressed, and an error waits for its box's OK.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "progress/NoiseImage.h"
#include "progress/XServerTools.h"
#include "support/ConverterRun.h"
#include "ui/WindowSystem.h"
#include "ui/x11/probe/X11Probe.h"

using namespace ProgressTests;
using TestSupport::ConverterResult;
using TestSupport::ReadBytes;
using TestSupport::RunConverter;
using TestSupport::RunningProgram;
using ui::x11probe::X11Probe;

namespace {

// Long enough for a loaded machine and a sanitizer build; a passing test never waits it out.
constexpr double kPatience = 60.0;

// A noise image whose Slow conversion lasts seconds; sanitizer builds
// compress several times slower, so a smaller one lasts as long there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr uint16_t kWatchableSide = 256;
#else
constexpr uint16_t kWatchableSide = 768;
#endif

// The bar's inside in client pixels: template 101's (7, 18) 325 x 14 units
// within its one-pixel border, and its middle row.
constexpr int kBarLeft = 13;
constexpr int kBarRight = 580;
constexpr int kBarRow = 44;

class ProgressWindowOnXServer : public testing::Test {
protected:
    void SetUp() override {
        if (!HaveXServer()) GTEST_SKIP() << "DISPLAY is not set: this test needs an X server with a window manager";
        probe_.emplace();
        ASSERT_TRUE(probe_->Connected());
    }

    // The managed window titled `title`, once there is one.
    uint64_t WaitForWindow(const std::string& title, double seconds) {
        uint64_t window = 0;
        WaitUntil([&] { return (window = probe_->FindManaged(title)) != 0; }, seconds);
        return window;
    }

    // The window's place in the stacking order, bottom first; -1 when absent.
    int StackIndex(uint64_t window) {
        std::vector<uint64_t> stacking = probe_->Stacking();
        auto found = std::find(stacking.begin(), stacking.end(), window);
        return found == stacking.end() ? -1 : static_cast<int>(found - stacking.begin());
    }

    // How many pixels of the bar's middle row differ from its right end, which
    // stays empty until the very end; -1 when the window cannot be read.
    int BarFill() {
        ui::x11probe::Pixels pixels;
        uint64_t dialog = probe_->FindManaged(dialogTitle_);
        if (dialog == 0 || !probe_->Capture(dialog, pixels) || pixels.width < kBarRight || pixels.height <= kBarRow) {
            return -1;
        }
        const uint32_t* row = &pixels.values[static_cast<size_t>(kBarRow) * pixels.width];
        return static_cast<int>(std::count_if(row + kBarLeft, row + kBarRight,
                                              [&](uint32_t pixel) { return pixel != row[kBarRight - 1]; }));
    }

    std::optional<X11Probe> probe_;
    std::string dialogTitle_;
};

TEST_F(ProgressWindowOnXServer, StandsAboveAtTheBottomRightWhileCompressingAndGoesAtTheEnd) {
    NoiseRun files(kWatchableSide);
    RunningProgram run(BWVOQ_CONVERTER, files.Arguments(true), "", "", files.Environment());
    dialogTitle_ = files.ShownTitle();
    uint64_t dialog = WaitForWindow(dialogTitle_, kPatience);
    ASSERT_NE(dialog, 0u) << "no window titled with the conversion line";

    // The client area is template 101's; the window system's window rectangle
    // adds its dialog frame and caption, and the window manager's frame starts
    // at that rectangle's top-left and is no larger.
    ui::RECT client = probe_->Client(dialog);
    EXPECT_EQ(client.right - client.left, 593);
    EXPECT_EQ(client.bottom - client.top, 68);
    ui::RECT area = probe_->WorkArea();
    int left = area.right - 8 - (593 + 2 * ui::kDialogBorder);
    int top = area.bottom - 4 - (68 + ui::kCaptionHeight + 2 * ui::kDialogBorder);
    ui::RECT frame{};
    EXPECT_TRUE(WaitUntil(
        [&] {
            frame = probe_->Frame(dialog);
            return frame.left == left && frame.top == top;
        },
        kPatience))
        << "frame at (" << frame.left << ", " << frame.top << "), expected (" << left << ", " << top << ")";
    EXPECT_LE(frame.right, area.right - 8);
    EXPECT_LE(frame.bottom, area.bottom - 4);
    std::vector<std::string> states = probe_->States(dialog);
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_ABOVE"), states.end());

    // Another window over the same corner, activated as a person would: the
    // progress window stays above it.
    RunningProgram cover("/usr/bin/xmessage", {"-geometry", "700x300-0-0", "-title", "covering", "covering"});
    uint64_t covering = 0;
    ASSERT_TRUE(WaitUntil([&] { return (covering = FindWindowNamed("^covering$")) != 0; }, kPatience));
    EXPECT_TRUE(Activate(covering));
    EXPECT_GT(StackIndex(dialog), StackIndex(covering)) << "the progress window is below the window that covers it";

    int filled = BarFill();
    EXPECT_TRUE(WaitUntil([&] { return BarFill() > filled; }, kPatience)) << "the bar did not advance from " << filled;
    EXPECT_FALSE(run.HasEnded()) << "the conversion ended before the window could be looked at";

    ConverterResult result = run.Wait();
    EXPECT_EQ(result.exitStatus, 0) << result.output;
    EXPECT_TRUE(WaitUntil([&] { return probe_->FindManaged(files.ShownTitle()) == 0; }, 5.0))
        << "the window outlived the run";
    // The console keeps the encoder's line break after its level and the
    // closing one, and nothing of the progress.
    EXPECT_EQ(result.output, "\n\n");

    NoiseRun plain(kWatchableSide);
    ConverterResult without = RunConverter({"-i", files.input, "-o", plain.output, "-f", "ETC1", "-e", "Slow"}, "", "",
                                           plain.Environment());
    ASSERT_EQ(without.exitStatus, 0);
    EXPECT_EQ(ReadBytes(files.output), ReadBytes(plain.output)) << "the window changed the texture";
}

TEST_F(ProgressWindowOnXServer, ErrorWaitsForItsBoxToBeClosed) {
    NoiseRun files(64, "missing/out.voq");
    RunningProgram run(BWVOQ_CONVERTER, files.Arguments(true), "", "", files.Environment());
    uint64_t box = WaitForWindow("Error", kPatience);
    ASSERT_NE(box, 0u) << "no box titled \"Error\"";
    uint64_t dialog = probe_->FindManaged(files.ShownTitle());
    ASSERT_NE(dialog, 0u);
    EXPECT_EQ(probe_->TransientFor(box), dialog);

    // The run waits for the box however long it stays.
    EXPECT_FALSE(WaitUntil([&] { return run.HasEnded(); }, 0.5)) << "the run ended with its error box open";
    EXPECT_TRUE(PressKey(box, "Return"));
    ASSERT_TRUE(WaitUntil([&] { return run.HasEnded(); }, kPatience)) << "OK did not end the run";
    ConverterResult result = run.Wait();
    EXPECT_EQ(result.exitStatus, 255);
    EXPECT_EQ(result.output, "\n");
}

}  // namespace
