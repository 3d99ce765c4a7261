// A window's own scroll bars: their state, and the requests that clicks and a
// dragged thumb send the window.
#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "UiTestSupport.h"

using namespace ui;

namespace {

std::mutex g_lock;
std::vector<std::string> g_requests;

std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> guard(g_lock);
    return g_requests;
}

LRESULT ScrollProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_VSCROLL || message == WM_HSCROLL) {
        std::lock_guard<std::mutex> guard(g_lock);
        g_requests.push_back(std::string(message == WM_VSCROLL ? "v" : "h") + std::to_string(LOWORD(wParam)) + "@" +
                             std::to_string(HIWORD(wParam)));
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProc(window, message, wParam, lParam);
}

// A 256 x 320 window with a border and both bars at (100, 100): its client area
// is 238 x 302 from (101, 101); the vertical bar's track is 270 pixels long.
class ScrollBars : public testing::Test {
protected:
    void SetUp() override {
        UiTest::UseMemoryDisplay();
        {
            std::lock_guard<std::mutex> guard(g_lock);
            g_requests.clear();
        }
        // The window's thread starts once the memory display is chosen.
        thread_ = std::make_unique<UiTest::WindowThread>([] {
            return CreateWindowEx(0, "ScrollTest", "scroll",
                                  WS_POPUP | WS_VISIBLE | WS_BORDER | WS_VSCROLL | WS_HSCROLL, 100, 100, 256, 320,
                                  nullptr, nullptr, nullptr, nullptr);
        });
        window_ = thread_->Window();
        ASSERT_NE(window_, nullptr);
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = 999;
        info.nPage = 320;
        info.nPos = 0;
        SetScrollInfo(window_, SB_VERT, &info, TRUE);
    }
    void TearDown() override {
        SendMessage(window_, WM_CLOSE, 0, 0);
        if (thread_) thread_->Join();
    }
    bool WaitForRequests(size_t count) {
        return UiTest::WaitFor([&] { return Requests().size() >= count; });
    }

    static constexpr int kBarX = 101 + 238 + 8;
    UiTest::ScopedClass class_{"ScrollTest", ScrollProcedure};
    std::unique_ptr<UiTest::WindowThread> thread_;
    HWND window_ = nullptr;
};

TEST_F(ScrollBars, ThePositionStaysWithinTheRangeLessThePage) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = 900;
    EXPECT_EQ(SetScrollInfo(window_, SB_VERT, &info, TRUE), 680);
    info.nPos = -5;
    EXPECT_EQ(SetScrollInfo(window_, SB_VERT, &info, TRUE), 0);
    SCROLLINFO read;
    read.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(window_, SB_VERT, &read));
    EXPECT_EQ(read.nMin, 0);
    EXPECT_EQ(read.nMax, 999);
    EXPECT_EQ(read.nPage, 320u);
    EXPECT_EQ(read.nPos, 0);
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = 99;
    info.nPage = 500;  // more than the range: the whole range
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
    ASSERT_TRUE(GetScrollInfo(window_, SB_HORZ, &read));
    EXPECT_EQ(read.nPage, 100u);
    EXPECT_FALSE(GetScrollInfo(window_, 7, &read));
}

struct ClickCase {
    std::string name;
    int y;  // screen row of the click on the vertical bar
    std::string request;
};

void PrintTo(const ClickCase& c, std::ostream* out) { *out << c.name; }

class BarClicks : public ScrollBars, public testing::WithParamInterface<ClickCase> {};

TEST_P(BarClicks, SendTheirRequestThenTheEndOfScrolling) {
    ASSERT_TRUE(memory::Click(kBarX, GetParam().y));
    ASSERT_TRUE(WaitForRequests(2));
    EXPECT_EQ(Requests(), (std::vector<std::string>{GetParam().request, "v8@0"}));
}

// The thumb at position 0 covers the track's first 86 pixels (rows 117 to 202).
INSTANTIATE_TEST_SUITE_P(Parts, BarClicks,
                         testing::Values(ClickCase{"UpArrow", 101 + 8, "v0@0"},
                                         ClickCase{"DownArrow", 101 + 302 - 8, "v1@0"},
                                         ClickCase{"TrackBelowTheThumb", 101 + 250, "v3@0"},
                                         ClickCase{"TheThumbItself", 101 + 40, "v4@0"}),
                         [](const testing::TestParamInfo<ClickCase>& info) { return info.param.name; });

TEST_F(ScrollBars, DraggingTheThumbTracksThePositionItsPlaceStandsFor) {
    // Half of the thumb's 184 pixels of room: half of the 680 positions.
    ASSERT_TRUE(memory::Drag(kBarX, 101 + 30, kBarX, 101 + 30 + 92));
    ASSERT_TRUE(WaitForRequests(3));
    EXPECT_EQ(Requests(), (std::vector<std::string>{"v5@340", "v4@340", "v8@0"}));
    ASSERT_TRUE(memory::Drag(kBarX, 101 + 30, kBarX, 101 + 302));  // past the end
    ASSERT_TRUE(WaitForRequests(6));
    EXPECT_EQ(Requests()[3], "v5@680");
}

}  // namespace
