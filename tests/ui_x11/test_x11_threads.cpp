// Each thread that owns windows talks to the X server on a connection of its
// own: the events of its windows reach it, whatever the other threads do.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ui_x11/X11TestSupport.h"

namespace {

using namespace ui;

std::atomic<HWND> g_secondWindow{nullptr};
std::atomic<bool> g_closedOnItsThread{false};
thread_local bool t_onSecondThread = false;

LRESULT SecondThreadProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            g_closedOnItsThread = t_onSecondThread;
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

void RunSecondThread() {
    t_onSecondThread = true;
    HWND window = CreateWindowEx(0, "X11SecondThread", "Second thread", WS_OVERLAPPEDWINDOW, 500, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    if (!window) return;
    ShowWindow(window, SW_SHOWNORMAL);
    g_secondWindow = window;
    MSG message;
    while (GetMessage(&message, nullptr, 0, 0) > 0) DispatchMessage(&message);
}

class Threads : public X11Test::XServerTest {};

TEST_F(Threads, EachThreadGetsTheEventsOfItsOwnWindows) {
    ASSERT_TRUE(X11Test::RegisterTestClass("X11SecondThread", SecondThreadProcedure));
    HWND first = X11Test::CreateTopLevel("First thread", WS_OVERLAPPEDWINDOW, 0, RECT{100, 100, 400, 300});
    ASSERT_NE(first, nullptr);
    ShowWindow(first, SW_SHOWNORMAL);
    std::thread second(RunSecondThread);

    const uint64_t firstShown = X11Test::WaitForManaged(probe, first, "First thread");
    const uint64_t secondShown = X11Test::WaitForManaged(probe, first, "Second thread");
    EXPECT_NE(firstShown, 0u);
    EXPECT_NE(secondShown, 0u);
    // The second window's close reaches its own thread while this one runs its messages.
    probe.RequestClose(secondShown);
    EXPECT_TRUE(X11Test::PumpUntil(first, [] { return g_closedOnItsThread.load(); }));
    probe.RequestClose(firstShown);
    EXPECT_TRUE(X11Test::PumpUntil(first, [&] { return X11Test::CloseRequestsOf(first) == 1; }));
    if (HWND left = g_secondWindow.load(); IsWindow(left)) PostMessage(left, WM_CLOSE, 0, 0);
    second.join();
    DestroyWindow(first);
}

}  // namespace
