// Top-level windows on the X server carry the hints the window manager needs:
// title, type, owner, topmost state and size limits.
#include <gtest/gtest.h>

#include <algorithm>

#include "ui_x11/X11TestSupport.h"

namespace {

using namespace ui;
using X11Test::CreateTopLevel;
using X11Test::WaitForManaged;

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

struct HintCase {
    const char* name;
    DWORD style;
    DWORD exStyle;
    bool owned;
    const char* type;
    bool above;
    bool fixedSize;
};

void PrintTo(const HintCase& hintCase, std::ostream* out) { *out << hintCase.name; }

class WindowHintKinds : public X11Test::XServerParamTest<HintCase> {};

TEST_P(WindowHintKinds, AreWhatTheWindowManagerReads) {
    const HintCase& hintCase = GetParam();
    HWND owner = CreateTopLevel("Owner of " + std::string(hintCase.name), WS_OVERLAPPEDWINDOW, 0,
                                RECT{40, 40, 440, 340});
    ASSERT_NE(owner, nullptr);
    ShowWindow(owner, SW_SHOWNORMAL);
    // A title outside ASCII: both title properties carry it as UTF-8.
    const std::string title = std::string(hintCase.name) + " \xE3\x83\xA1\xE3\x83\x83\xE3\x82\xBB\xE3\x83\xBC\xE3\x82\xB8";
    HWND window = CreateTopLevel(title, hintCase.style, hintCase.exStyle, RECT{100, 120, 400, 260},
                                 hintCase.owned ? owner : nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);

    const uint64_t shown = WaitForManaged(probe, window, title);
    ASSERT_NE(shown, 0u) << "the window manager never took the window";
    EXPECT_EQ(probe.LegacyTitle(shown), title);
    EXPECT_EQ(probe.WindowTypes(shown), std::vector<std::string>{hintCase.type});
    EXPECT_EQ(Contains(probe.States(shown), "_NET_WM_STATE_ABOVE"), hintCase.above);
    const uint64_t ownerShown = probe.FindManaged("Owner of " + std::string(hintCase.name));
    EXPECT_EQ(probe.TransientFor(shown), hintCase.owned ? ownerShown : 0u);

    RECT client;
    GetClientRect(window, &client);
    const x11probe::SizeLimits limits = probe.Limits(shown);
    EXPECT_EQ(limits.hasMaximum, hintCase.fixedSize);
    if (hintCase.fixedSize) {
        EXPECT_TRUE(limits.hasMinimum);
        EXPECT_EQ(limits.minimum.cx, client.right);
        EXPECT_EQ(limits.minimum.cy, client.bottom);
        EXPECT_EQ(limits.maximum.cx, client.right);
        EXPECT_EQ(limits.maximum.cy, client.bottom);
    }
    DestroyWindow(window);
    DestroyWindow(owner);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WindowHintKinds,
    testing::Values(
        HintCase{"Resizable main window", WS_OVERLAPPEDWINDOW, 0, false, "_NET_WM_WINDOW_TYPE_NORMAL", false, false},
        HintCase{"Owned dialog", WS_POPUP | WS_CAPTION | DS_MODALFRAME, 0, true, "_NET_WM_WINDOW_TYPE_DIALOG", false,
                 true},
        HintCase{"Topmost tool window", WS_POPUP | WS_CAPTION | DS_MODALFRAME, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, false,
                 "_NET_WM_WINDOW_TYPE_UTILITY", true, true},
        HintCase{"Owned topmost tool window", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, true,
                 "_NET_WM_WINDOW_TYPE_UTILITY", true, true}),
    [](const testing::TestParamInfo<HintCase>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

constexpr POINT kSmallest{320, 240};

LRESULT LimitedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETMINMAXINFO) {
        reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = kSmallest;
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

// A resizable window's smallest size (a window size, frame included) reaches
// the window manager as the smallest size of the client area it frames.
class WindowHints : public X11Test::XServerTest {};

TEST_F(WindowHints, SmallestSizeOfResizableWindow) {
    ASSERT_TRUE(X11Test::RegisterTestClass("X11LimitedWindow", LimitedProcedure));
    HWND window = CreateWindowEx(0, "X11LimitedWindow", "Limited", WS_OVERLAPPEDWINDOW, 50, 50, 500, 400, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    const uint64_t shown = WaitForManaged(probe, window, "Limited");
    ASSERT_NE(shown, 0u);
    RECT windowRect;
    RECT client;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &client);
    const x11probe::SizeLimits limits = probe.Limits(shown);
    EXPECT_TRUE(limits.hasMinimum);
    EXPECT_FALSE(limits.hasMaximum);
    EXPECT_EQ(limits.minimum.cx, kSmallest.x - (windowRect.right - windowRect.left - client.right));
    EXPECT_EQ(limits.minimum.cy, kSmallest.y - (windowRect.bottom - windowRect.top - client.bottom));
    DestroyWindow(window);
    UnregisterClass("X11LimitedWindow", nullptr);
}

// A caption made from a line of output keeps its line break in the window's
// text; the window manager's title leaves it out rather than draw it as a box.
TEST_F(WindowHints, ATitleLeavesOutTheCaptionsControlCharacters) {
    HWND window = CreateTopLevel("in.tga -> out.voq \n", WS_POPUP | WS_CAPTION, WS_EX_TOOLWINDOW, RECT{80, 80, 380, 200});
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    const uint64_t shown = WaitForManaged(probe, window, "in.tga -> out.voq ");
    ASSERT_NE(shown, 0u) << "no window titled without the line break";
    EXPECT_EQ(probe.Title(shown), "in.tga -> out.voq ");
    EXPECT_EQ(probe.LegacyTitle(shown), "in.tga -> out.voq ");
    char text[64];
    GetWindowText(window, text, sizeof text);
    EXPECT_STREQ(text, "in.tga -> out.voq \n");
    DestroyWindow(window);
}

// A class icon is the window's icon on the server, every image of it, as
// width, height and 0xAARRGGBB pixels.
TEST_F(WindowHints, ClassIconIsTheWindowsIcon) {
    std::vector<uint32_t> small(16 * 16);
    std::vector<uint32_t> large(32 * 32);
    for (size_t i = 0; i < small.size(); ++i) small[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203u);
    for (size_t i = 0; i < large.size(); ++i) large[i] = 0x80000000u | static_cast<uint32_t>(i * 0x030201u);
    const IconImage images[] = {{16, 16, small.data()}, {32, 32, large.data()}};
    const HINSTANCE instance = X11Test::TestModule();
    ASSERT_TRUE(RegisterIcon(instance, "X11TestIcon", images));
    ASSERT_TRUE(X11Test::RegisterTestClass("X11IconWindow", DefWindowProc, instance, LoadIcon(instance, "X11TestIcon")));
    HWND window = CreateWindowEx(0, "X11IconWindow", "With icon", WS_OVERLAPPEDWINDOW, 60, 60, 300, 200, nullptr,
                                 nullptr, instance, nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    const uint64_t shown = WaitForManaged(probe, window, "With icon");
    ASSERT_NE(shown, 0u);

    std::vector<unsigned long> expected{16, 16};
    expected.insert(expected.end(), small.begin(), small.end());
    expected.push_back(32);
    expected.push_back(32);
    expected.insert(expected.end(), large.begin(), large.end());
    EXPECT_TRUE(probe.Icon(shown) == expected);
    DestroyWindow(window);
}

struct WorkAreaCase {
    const char* name;
    std::vector<unsigned long> published;  // x, y, width, height per desktop; none: no property
    RECT expected;                         // none published: the whole screen
};

void PrintTo(const WorkAreaCase& workAreaCase, std::ostream* out) { *out << workAreaCase.name; }

// The work area is the one the window manager publishes for the current desktop, else the screen.
class WorkArea : public X11Test::XServerParamTest<WorkAreaCase> {
protected:
    void TearDown() override {
        if (!original_.empty()) probe.PublishWorkAreas(original_);
    }
    std::vector<unsigned long> original_;
};

TEST_P(WorkArea, IsTheWindowManagersElseTheScreen) {
    original_ = probe.PublishedWorkAreas();
    ASSERT_FALSE(original_.empty()) << "the window manager publishes no work area";
    probe.PublishWorkAreas(GetParam().published);
    RECT workArea;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &workArea, 0));
    RECT expected = GetParam().expected;
    if (GetParam().published.empty()) expected = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    EXPECT_EQ(X11Test::Describe(workArea), X11Test::Describe(expected));
}

INSTANTIATE_TEST_SUITE_P(
    Published, WorkArea,
    testing::Values(WorkAreaCase{"one_desktop", {10, 20, 1000, 900}, RECT{10, 20, 1010, 920}},
                    WorkAreaCase{"first_of_two_desktops", {30, 0, 1250, 984, 0, 0, 1280, 1024}, RECT{30, 0, 1280, 984}},
                    WorkAreaCase{"none", {}, RECT{}}),
    [](const testing::TestParamInfo<WorkAreaCase>& info) { return info.param.name; });

}  // namespace
