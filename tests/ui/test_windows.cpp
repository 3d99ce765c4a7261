// Windows: frames and rectangles, placing, z-order with the topmost band,
// destruction order and the user's resizing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "UiTestSupport.h"

using namespace ui;

namespace {

std::vector<std::string> g_log;
SIZE g_minimum{0, 0};

LRESULT LoggingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    char name[32];
    GetWindowText(window, name, sizeof name);
    switch (message) {
        case WM_DESTROY:
            g_log.push_back(std::string(name) + " destroy");
            if (std::string(name) == "quits") PostQuitMessage(9);
            break;
        case WM_NCDESTROY: g_log.push_back(std::string(name) + " ncdestroy"); break;
        case WM_SIZE:
            g_log.push_back(std::string(name) + " size " + std::to_string(LOWORD(static_cast<uintptr_t>(lParam))) + "x" +
                            std::to_string(HIWORD(static_cast<uintptr_t>(lParam))));
            break;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
            if (g_minimum.cx > 0) info->ptMinTrackSize.x = g_minimum.cx;
            if (g_minimum.cy > 0) info->ptMinTrackSize.y = g_minimum.cy;
            return 0;
        }
        default: break;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

class Windows : public testing::Test {
protected:
    void SetUp() override {
        UiTest::UseMemoryDisplay();
        g_log.clear();
        g_minimum = SIZE{0, 0};
    }
    void TearDown() override {
        for (HWND window : made_) DestroyWindow(window);
    }
    HWND Make(const char* name, DWORD style, DWORD exStyle = 0, HWND parent = nullptr, int id = 0) {
        HWND window = CreateWindowEx(exStyle, "WindowsTest", name, style, 10, 20, 300, 200, parent,
                                     reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
        EXPECT_NE(window, nullptr) << name;
        if (!(style & WS_CHILD)) made_.push_back(window);
        return window;
    }
    std::vector<HWND> made_;
    UiTest::ScopedClass class_{"WindowsTest", LoggingProcedure};
};

struct FrameCase {
    std::string name;
    DWORD style;
    int clientWidth;  // of a 300 x 200 window
    int clientHeight;
};

void PrintTo(const FrameCase& c, std::ostream* out) { *out << c.name; }

class Frames : public Windows, public testing::WithParamInterface<FrameCase> {};

TEST_P(Frames, TheClientAreaIsTheWindowWithoutItsFrame) {
    const HWND window = Make("framed", GetParam().style);
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, GetParam().clientWidth);
    EXPECT_EQ(client.bottom, GetParam().clientHeight);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.bottom, 220);
}

// Caption 20, sizing border 4, dialog border 3, thin border 1, scroll bars 16.
INSTANTIATE_TEST_SUITE_P(
    Styles, Frames,
    testing::Values(FrameCase{"PlainPopup", WS_POPUP, 300, 200},
                    FrameCase{"ThinBorder", WS_POPUP | WS_BORDER, 298, 198},
                    FrameCase{"CaptionAndDialogBorder", WS_POPUP | WS_CAPTION, 294, 174},
                    FrameCase{"SizingFrame", WS_OVERLAPPEDWINDOW, 292, 172},
                    FrameCase{"ModalFrameWithoutCaption", WS_POPUP | DS_MODALFRAME, 294, 194},
                    FrameCase{"BothScrollBars", WS_POPUP | WS_BORDER | WS_VSCROLL | WS_HSCROLL, 282, 182}),
    [](const testing::TestParamInfo<FrameCase>& info) { return info.param.name; });

TEST_F(Windows, AChildsRectanglesFollowItsParentsClientArea) {
    const HWND parent = Make("parent", WS_POPUP | WS_CAPTION);
    const HWND child = CreateWindowEx(0, "WindowsTest", "preview", WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL, 220,
                                      14, 256, 320, parent, nullptr, nullptr, nullptr);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 10 + 3 + 220);
    EXPECT_EQ(rect.top, 20 + 3 + 20 + 14);
    EXPECT_EQ(rect.right - rect.left, 256);
    RECT client;
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 256 - 2 - 16);
    EXPECT_EQ(client.bottom, 320 - 2 - 16);
    EXPECT_EQ(GetParent(child), parent);
}

TEST_F(Windows, SetWindowPosKeepsWhatItsFlagsKeepAndReportsNewSizesOnly) {
    const HWND window = Make("w", WS_POPUP);
    g_log.clear();
    SetWindowPos(window, nullptr, 50, 60, 1, 1, SWP_NOSIZE | SWP_NOZORDER);
    RECT rect;
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.right, 350);
    EXPECT_TRUE(g_log.empty());
    SetWindowPos(window, nullptr, 0, 0, 120, 80, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.right, 170);
    EXPECT_EQ(g_log, std::vector<std::string>{"w size 120x80"});
    EXPECT_FALSE(IsWindowVisible(window));
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    EXPECT_TRUE(IsWindowVisible(window));
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW);
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(Windows, TopmostWindowsStayAboveTheOthers) {
    const HWND a = Make("a", WS_POPUP);
    const HWND b = Make("b", WS_POPUP);
    const HWND topmost = Make("t", WS_POPUP, WS_EX_TOPMOST);
    const HWND c = Make("c", WS_POPUP);
    auto order = [&] {
        std::string names;
        for (HWND window : memory::TopLevelWindows()) {
            char name[8];
            GetWindowText(window, name, sizeof name);
            names += name;
        }
        return names;
    };
    EXPECT_EQ(order(), "tcba");
    SetForegroundWindow(a);
    EXPECT_EQ(order(), "tacb");
    SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), "btac");
    EXPECT_TRUE(GetWindowLongPtr(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetWindowPos(topmost, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), "btac");
    SetWindowPos(c, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), "bcta");
    SetWindowPos(c, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_EQ(order(), "btac");
    SetWindowPos(a, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(order(), "btac");
}

TEST_F(Windows, AWindowOwnedByATopmostWindowIsTopmostToo) {
    const HWND owner = Make("owner", WS_POPUP, WS_EX_TOPMOST);
    const HWND owned = Make("owned", WS_POPUP, 0, owner);
    EXPECT_TRUE(GetWindowLongPtr(owned, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(memory::TopLevelWindows().front(), owned);
    EXPECT_EQ(GetParent(owned), owner);
}

TEST_F(Windows, DestroyingAWindowEndsItsOwnedWindowsFirstThenItsChildren) {
    const HWND parent = Make("parent", WS_POPUP);
    Make("first", WS_CHILD, 0, parent, 1);
    const HWND second = Make("second", WS_CHILD, 0, parent, 2);
    Make("grandchild", WS_CHILD, 0, second, 3);
    const HWND owned = Make("owned", WS_POPUP, 0, parent);
    g_log.clear();
    EXPECT_TRUE(DestroyWindow(parent));
    const std::vector<std::string> expected{"owned destroy",      "owned ncdestroy",      "parent destroy",
                                            "first destroy",      "first ncdestroy",      "second destroy",
                                            "grandchild destroy", "grandchild ncdestroy", "second ncdestroy",
                                            "parent ncdestroy"};
    EXPECT_EQ(g_log, expected);
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(IsWindow(second));
}

TEST_F(Windows, ClassesInUseCannotBeUnregisteredAndNamesAreUnique) {
    WNDCLASSEX again;
    again.lpfnWndProc = LoggingProcedure;
    again.lpszClassName = "WindowsTest";
    EXPECT_EQ(RegisterClassEx(&again), 0);
    EXPECT_EQ(CreateWindowEx(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    const HWND window = Make("w", WS_POPUP);
    EXPECT_FALSE(UnregisterClass("WindowsTest", nullptr));
    DestroyWindow(window);
}

TEST_F(Windows, TheUsersResizingHonoursTheSmallestSizeTheWindowAllows) {
    g_minimum = SIZE{250, 150};
    UiTest::WindowThread owner([] {
        return CreateWindowEx(0, "WindowsTest", "quits", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                              nullptr, nullptr, nullptr);
    });
    const HWND window = owner.Window();
    ASSERT_TRUE(memory::ResizeWindow(window, 500, 100));  // 508 x 128 with the frame: too low
    RECT rect;
    ASSERT_TRUE(UiTest::WaitFor([&] {
        GetWindowRect(window, &rect);
        return rect.right - rect.left == 508;
    }));
    EXPECT_EQ(rect.bottom - rect.top, 150);
    // The close button: the default procedure destroys the window, whose WM_DESTROY ends the loop.
    ASSERT_TRUE(memory::CloseWindow(window));
    EXPECT_EQ(owner.Join(), 9);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(Windows, TextSetFromAnotherThreadIsTheCaption) {
    UiTest::WindowThread owner([] {
        return CreateWindowEx(0, "WindowsTest", "quits", WS_POPUP | WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr,
                              nullptr, nullptr);
    });
    const HWND window = owner.Window();
    EXPECT_TRUE(SetWindowText(window, "in.tga -> out.voq"));
    char text[64];
    EXPECT_EQ(GetWindowText(window, text, sizeof text), 17);
    EXPECT_STREQ(text, "in.tga -> out.voq");
    EXPECT_EQ(GetWindowText(window, text, 3), 2);
    EXPECT_STREQ(text, "in");
    EXPECT_EQ(memory::FindWindowByCaption("in.tga -> out.voq"), window);
    SetWindowText(window, "quits");
    SendMessage(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(owner.Join(), 9);
}

TEST_F(Windows, TheCursorIsRecordedPerThread) {
    const HCURSOR wait = LoadCursor(nullptr, IDC_WAIT);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(wait, LoadCursor(nullptr, IDC_ARROW));
    const HCURSOR before = SetCursor(wait);
    EXPECT_EQ(GetCursor(), wait);
    SetCursor(before);
    EXPECT_EQ(GetCursor(), before);
}

TEST_F(Windows, TheWorkAreaAndMetricsOfTheMemoryScreen) {
    RECT area;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area.right, memory::kWorkArea.right);
    EXPECT_EQ(area.bottom, memory::kWorkArea.bottom);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), kCaptionHeight);
}

}  // namespace
