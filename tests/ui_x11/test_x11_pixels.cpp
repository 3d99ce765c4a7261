// What the X server shows of a window is the window system's own picture of
// its client area, and a screenshot of it survives a round trip through PNG.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/TestFiles.h"
#include "ui/MemoryDisplay.h"
#include "ui_x11/X11TestSupport.h"

namespace {

using namespace ui;
using x11probe::Pixels;

constexpr int kBar = 1001;
constexpr DialogItem kItems[] = {
    {kStaticClass, "Compressed 7 of 56 blocks", -1, SS_LEFT | WS_GROUP | WS_VISIBLE, 0, 7, 7, 325, 8},
    {kProgressClass, "", kBar, WS_BORDER | WS_VISIBLE, 0, 7, 18, 325, 14},
};
constexpr DialogTemplate kTemplate{WS_POPUP | WS_CAPTION | DS_MODALFRAME, WS_EX_TOOLWINDOW, 0, 0, 339, 39, "Pixels",
                                   "MS Shell Dlg", 8, kItems};

INT_PTR PixelsDialogProcedure(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message != WM_INITDIALOG) return FALSE;
    SendDlgItemMessage(dialog, kBar, PBM_SETPOS, 40, 0);
    return TRUE;
}

// The client area of the window system's picture of a window.
Pixels ClientPicture(HWND window) {
    memory::Picture picture;
    Pixels client;
    if (!memory::ReadPicture(window, picture)) return client;
    RECT windowRect;
    RECT clientRect;
    POINT origin{0, 0};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    ClientToScreen(window, &origin);
    client.width = clientRect.right;
    client.height = clientRect.bottom;
    for (int y = 0; y < client.height; ++y) {
        for (int x = 0; x < client.width; ++x) {
            client.values.push_back(picture.At(origin.x - windowRect.left + x, origin.y - windowRect.top + y) & 0xFFFFFF);
        }
    }
    return client;
}

class Screenshot : public X11Test::XServerTest {};

TEST_F(Screenshot, EqualsTheWindowSystemsPixels) {
    HWND dialog = CreateDialogIndirectParam(nullptr, &kTemplate, nullptr, PixelsDialogProcedure, 0);
    ASSERT_NE(dialog, nullptr);
    SetWindowPos(dialog, HWND_TOPMOST, 100, 100, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    const uint64_t shown = X11Test::WaitForManaged(probe, dialog, "Pixels");
    ASSERT_NE(shown, 0u);

    const Pixels expected = ClientPicture(dialog);
    ASSERT_GT(expected.width, 0);
    // Both the text's dark pixels and the bar's fill are there to be seen.
    ASSERT_NE(std::count(expected.values.begin(), expected.values.end(), expected.values.front()),
              static_cast<long>(expected.values.size()));
    Pixels captured;
    EXPECT_TRUE(X11Test::PumpUntil(dialog, [&] { return probe.Capture(shown, captured) && captured.values == expected.values; }))
        << "captured " << captured.width << " x " << captured.height << ", expected " << expected.width << " x "
        << expected.height;

    TestSupport::TempFolder folder;
    const std::string path = folder.File("window.png");
    ASSERT_TRUE(x11probe::WritePng(captured, path));
    Pixels read;
    ASSERT_TRUE(x11probe::ReadPng(path, read));
    EXPECT_EQ(read.width, expected.width);
    EXPECT_EQ(read.height, expected.height);
    EXPECT_TRUE(read.values == expected.values);
    DestroyWindow(dialog);
}

}  // namespace
