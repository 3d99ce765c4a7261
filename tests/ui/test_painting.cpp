// When windows are painted: WM_PAINT for invalid visible windows only, once per
// invalidation, with the invalid rectangle.
#include <gtest/gtest.h>

#include "UiTestSupport.h"

using namespace ui;

namespace {

int g_paints = 0;
RECT g_painted;
bool g_erase = false;

LRESULT CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProc(window, message, wParam, lParam);
    ++g_paints;
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    g_painted = paint.rcPaint;
    g_erase = paint.fErase;
    EndPaint(window, &paint);
    return 0;
}

class Painting : public testing::Test {
protected:
    void SetUp() override {
        UiTest::UseMemoryDisplay();
        g_paints = 0;
        window_ = CreateWindowEx(0, "PaintTest", "paint", WS_POPUP, 0, 0, 100, 50, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }
    UiTest::ScopedClass class_{"PaintTest", CountingProcedure};
    HWND window_ = nullptr;
};

TEST_F(Painting, OnlyVisibleInvalidWindowsArePaintedAndOnlyOnce) {
    UpdateWindow(window_);
    EXPECT_EQ(g_paints, 0);  // hidden
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    EXPECT_EQ(g_paints, 1);
    EXPECT_EQ(g_painted.right, 100);
    EXPECT_EQ(g_painted.bottom, 50);
    UpdateWindow(window_);
    EXPECT_EQ(g_paints, 1);  // BeginPaint made it valid
}

TEST_F(Painting, InvalidRectanglesAddUpUntilPainted) {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    const RECT first{10, 10, 20, 20};
    const RECT second{30, 5, 40, 15};
    InvalidateRect(window_, &first, FALSE);
    InvalidateRect(window_, &second, FALSE);
    UpdateWindow(window_);
    EXPECT_EQ(g_paints, 2);
    EXPECT_EQ(g_painted.left, 10);
    EXPECT_EQ(g_painted.top, 5);
    EXPECT_EQ(g_painted.right, 40);
    EXPECT_EQ(g_painted.bottom, 20);
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(g_paints, 3);
    EXPECT_EQ(g_painted.right, 100);
}

TEST_F(Painting, GetMessageGivesWmPaintWhenNothingElseWaits) {
    ShowWindow(window_, SW_SHOW);
    PostMessage(window_, WM_USER, 0, 0);
    MSG message;
    ASSERT_TRUE(GetMessage(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_USER);
    ASSERT_TRUE(GetMessage(&message, nullptr, 0, 0));
    EXPECT_EQ(message.message, WM_PAINT);
    EXPECT_EQ(message.hwnd, window_);
    DispatchMessage(&message);
    EXPECT_EQ(g_paints, 1);
    // The class has no background brush, so nothing erased the window.
    EXPECT_TRUE(g_erase);
}

}  // namespace
