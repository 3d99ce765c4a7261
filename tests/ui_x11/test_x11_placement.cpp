// Windows land where the window system places them, as the window manager
// shows them, and topmost windows stay above the others.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui_x11/X11TestSupport.h"

namespace {

using namespace ui;
using X11Test::CreateTopLevel;
using X11Test::Describe;
using X11Test::PumpUntil;
using X11Test::WaitForManaged;
using x11probe::X11Probe;

constexpr int kPanelHeight = 40;
constexpr DWORD kProgressStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
constexpr DWORD kProgressExStyle = WS_EX_TOOLWINDOW;

// The window's place in the window manager's stacking order, bottom first; -1 when absent.
int StackIndex(X11Probe& probe, uint64_t window) {
    const std::vector<uint64_t> stacking = probe.Stacking();
    const auto found = std::find(stacking.begin(), stacking.end(), window);
    return found == stacking.end() ? -1 : static_cast<int>(found - stacking.begin());
}

struct PlacementCase {
    const char* name;
    bool showFirst;  // shown at the origin, then moved; else placed while hidden and shown by the move
};

void PrintTo(const PlacementCase& placementCase, std::ostream* out) { *out << placementCase.name; }

class Placement : public X11Test::XServerParamTest<PlacementCase> {};

// As the progress window places itself: 8 pixels from the work area's right
// edge and 4 from its bottom, topmost, shown by the same move.
TEST_P(Placement, BottomRightOfTheWorkAreaLandsWhereAsked) {
    ASSERT_TRUE(probe.ReservePanel(kPanelHeight));
    const std::string title = std::string("Placed ") + GetParam().name;
    HWND window = CreateTopLevel(title, kProgressStyle, kProgressExStyle, RECT{0, 0, 345, 62});
    ASSERT_NE(window, nullptr);
    if (GetParam().showFirst) ShowWindow(window, SW_SHOWNORMAL);

    RECT workArea;
    ASSERT_TRUE(PumpUntil(window, [&] {
        SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0);
        return workArea.bottom == probe.WorkArea().bottom && workArea.bottom < 1024;
    })) << "the work area never left out the panel: " << Describe(workArea);
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const POINT asked{workArea.right - 8 - width, workArea.bottom - 4 - height};
    SetWindowPos(window, HWND_TOPMOST, asked.x, asked.y, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);

    const uint64_t shown = WaitForManaged(probe, window, title);
    ASSERT_NE(shown, 0u);
    RECT frame{};
    EXPECT_TRUE(PumpUntil(window, [&] {
        frame = probe.Frame(shown);
        return frame.left == asked.x && frame.top == asked.y;
    })) << "frame " << Describe(frame) << ", asked (" << asked.x << ", " << asked.y << ")";
    // The window manager's frame is no larger than ours, so the window stays inside the work area.
    EXPECT_LE(frame.right, workArea.right - 8);
    EXPECT_LE(frame.bottom, workArea.bottom - 4);
    // The window system keeps the place it gave; the server's reports do not move it.
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, asked.x);
    EXPECT_EQ(rect.top, asked.y);
    const auto states = probe.States(shown);
    EXPECT_NE(std::find(states.begin(), states.end(), "_NET_WM_STATE_ABOVE"), states.end());
    DestroyWindow(window);
}

INSTANTIATE_TEST_SUITE_P(Cases, Placement,
                         testing::Values(PlacementCase{"placed_while_hidden", false},
                                         PlacementCase{"moved_while_shown", true}),
                         [](const testing::TestParamInfo<PlacementCase>& info) { return info.param.name; });

// A topmost window stays above a window that covers it, even when that window is activated.
class Topmost : public X11Test::XServerTest {};

TEST_F(Topmost, StaysAboveAnActivatedWindowThatCoversIt) {
    HWND topmost = CreateTopLevel("Topmost", kProgressStyle, kProgressExStyle | WS_EX_TOPMOST, RECT{700, 700, 1045, 762});
    HWND plain = CreateTopLevel("Plain", kProgressStyle, kProgressExStyle, RECT{700, 600, 1045, 662});
    ASSERT_NE(topmost, nullptr);
    ASSERT_NE(plain, nullptr);
    ShowWindow(topmost, SW_SHOWNORMAL);
    ShowWindow(plain, SW_SHOWNORMAL);
    HWND cover = CreateTopLevel("Cover", WS_OVERLAPPEDWINDOW, 0, RECT{600, 500, 1200, 900});
    ASSERT_NE(cover, nullptr);
    ShowWindow(cover, SW_SHOWNORMAL);

    const uint64_t topmostShown = WaitForManaged(probe, topmost, "Topmost");
    const uint64_t plainShown = WaitForManaged(probe, topmost, "Plain");
    const uint64_t coverShown = WaitForManaged(probe, topmost, "Cover");
    ASSERT_TRUE(topmostShown && plainShown && coverShown);
    ASSERT_TRUE(X11Test::Xdotool({"windowactivate", "--sync", std::to_string(coverShown)}));
    // The activated cover rises above the plain window, never above the topmost one.
    EXPECT_TRUE(PumpUntil(topmost, [&] { return StackIndex(probe, coverShown) > StackIndex(probe, plainShown); }))
        << "the activated window did not rise";
    EXPECT_GT(StackIndex(probe, topmostShown), StackIndex(probe, coverShown));
    DestroyWindow(cover);
    DestroyWindow(plain);
    DestroyWindow(topmost);
}

// Bringing a window to the top raises it above the window that covered it.
TEST_F(Topmost, BroughtToTheTopRisesAboveItsCover) {
    HWND lower = CreateTopLevel("Lower", WS_OVERLAPPEDWINDOW, 0, RECT{300, 300, 700, 600});
    HWND upper = CreateTopLevel("Upper", WS_OVERLAPPEDWINDOW, 0, RECT{350, 350, 750, 650});
    ASSERT_NE(lower, nullptr);
    ASSERT_NE(upper, nullptr);
    ShowWindow(lower, SW_SHOWNORMAL);
    ShowWindow(upper, SW_SHOWNORMAL);
    const uint64_t lowerShown = WaitForManaged(probe, lower, "Lower");
    const uint64_t upperShown = WaitForManaged(probe, lower, "Upper");
    ASSERT_TRUE(lowerShown && upperShown);
    ASSERT_TRUE(PumpUntil(lower, [&] { return StackIndex(probe, upperShown) > StackIndex(probe, lowerShown); }));
    SetWindowPos(lower, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil(lower, [&] { return StackIndex(probe, lowerShown) > StackIndex(probe, upperShown); }));
    DestroyWindow(upper);
    DestroyWindow(lower);
}

// A window made topmost while shown asks the window manager to keep it above.
TEST_F(Topmost, MadeTopmostWhileShown) {
    HWND window = CreateTopLevel("Later topmost", kProgressStyle, kProgressExStyle, RECT{200, 200, 545, 262});
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    const uint64_t shown = WaitForManaged(probe, window, "Later topmost");
    ASSERT_NE(shown, 0u);
    const auto above = [&] {
        const auto states = probe.States(shown);
        return std::find(states.begin(), states.end(), "_NET_WM_STATE_ABOVE") != states.end();
    };
    EXPECT_FALSE(above());
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil(window, above));
    SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil(window, [&] { return !above(); }));
    DestroyWindow(window);
}

}  // namespace
