// How often a window's pictures go to the display: no faster than a screen
// refreshes, and a change held back still reaches the display without any
// further message.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "UiTestSupport.h"
#include "ui/ThreadQueues.h"

using namespace ui;
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

constexpr UINT kChange = WM_USER + 1;  // the window's text changes
constexpr UINT kStop = WM_USER + 2;    // the window's thread leaves its loop
constexpr auto kInterval = 16ms;

// A display that only notes when each picture arrived.
class RecordingConnection final : public DisplayConnection {
public:
    RECT WorkArea() override { return memory::kWorkArea; }
    SIZE ScreenSize() override { return SIZE{1280, 1024}; }
    NativeWindow CreateNativeWindow(const NativeWindowTraits&) override { return 1; }
    void DestroyNativeWindow(NativeWindow) override {}
    void UpdateNativeWindow(NativeWindow, const NativeWindowTraits&) override {}
    void ShowNativeWindow(NativeWindow, bool) override {}
    void RaiseNativeWindow(NativeWindow) override {}
    void Present(NativeWindow, const PixelView&) override {
        std::lock_guard<std::mutex> guard(lock_);
        times_.push_back(Clock::now());
    }
    void SetNativeCursor(NativeWindow, CursorShape) override {}
    void SetNativeIcon(NativeWindow, std::span<const IconImage>) override {}
    bool NextEvent(DisplayEvent&) override { return false; }
    void WaitForEvents(const Platform::WakeSignal& wake, int timeoutMilliseconds) override {
        const int descriptors[] = {wake.Descriptor()};
        Platform::WaitForReadable(descriptors, timeoutMilliseconds);
    }

    std::vector<Clock::time_point> Times() {
        std::lock_guard<std::mutex> guard(lock_);
        return times_;
    }

private:
    std::mutex lock_;
    std::vector<Clock::time_point> times_;
};

std::vector<Clock::time_point> g_paints;  // on the window's thread

LRESULT ChangingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            g_paints.push_back(Clock::now());
            return DefWindowProc(window, message, wParam, lParam);
        case kChange:
            SetWindowText(window, wParam % 2 ? "odd" : "even");
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        case kStop:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

class Presenting : public testing::Test {
protected:
    void SetUp() override {
        UiTest::UseMemoryDisplay();
        g_paints.clear();
    }

    // Runs a thread with a captioned window on the recording display until
    // `drive` (given the window, on another thread) has done its part.
    void Run(const std::function<void(HWND)>& drive) {
        std::atomic<HWND> shown = nullptr;
        std::thread windowThread([&] {
            ThreadQueue& queue = CurrentQueue();
            queue.connection = std::make_unique<RecordingConnection>();
            queue.connectionTried = true;
            connection_ = static_cast<RecordingConnection*>(queue.connection.get());
            HWND window = CreateWindowEx(0, "PresentTest", "caption", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0, 200,
                                         80, nullptr, nullptr, nullptr, nullptr);
            shown = window;
            MSG message;
            while (GetMessage(&message, nullptr, 0, 0) > 0) DispatchMessage(&message);
            times_ = connection_->Times();
            DestroyWindow(window);
        });
        ASSERT_TRUE(UiTest::WaitFor([&] { return shown.load() != nullptr; }));
        drive(shown.load());
        SendMessage(shown.load(), kStop, 0, 0);
        windowThread.join();
    }

    UiTest::ScopedClass class_{"PresentTest", ChangingProcedure};
    RecordingConnection* connection_ = nullptr;
    std::vector<Clock::time_point> times_;
};

// The window system notes the time just before the display hears of the
// picture; allow for that moment between the two clocks.
constexpr auto kAllowance = 1ms;

TEST_F(Presenting, AWindowChangingEveryMillisecondIsShownAtMostOncePerInterval) {
    Run([](HWND window) {
        for (WPARAM change = 0; change < 200; ++change) {
            PostMessage(window, kChange, change, 0);
            std::this_thread::sleep_for(1ms);
        }
    });
    ASSERT_GE(times_.size(), 2u);
    for (size_t i = 1; i < times_.size(); ++i) {
        EXPECT_GE(times_[i] - times_[i - 1], kInterval - kAllowance) << "picture " << i;
    }
    // Nor is it painted while its picture is held back.
    ASSERT_GE(g_paints.size(), 2u);
    for (Clock::time_point paint : g_paints) {
        for (Clock::time_point shown : times_) {
            EXPECT_FALSE(paint > shown + kAllowance && paint < shown + kInterval - kAllowance)
                << "painted " << std::chrono::duration<double, std::milli>(paint - shown).count()
                << " ms after a picture";
        }
    }
}

TEST_F(Presenting, AChangeHeldBackIsShownWithoutAnotherMessage) {
    Run([&](HWND window) {
        // The window is shown once made; a change right after that is held back.
        ASSERT_TRUE(UiTest::WaitFor([&] { return connection_->Times().size() >= 1; }));
        SendMessage(window, kChange, 1, 0);
        // Nothing else reaches the window's thread until the held-back picture is out.
        EXPECT_TRUE(UiTest::WaitFor([&] { return connection_->Times().size() >= 2; }, 5s));
    });
    ASSERT_GE(times_.size(), 2u);
    EXPECT_GE(times_[1] - times_[0], kInterval - kAllowance);
}

}  // namespace
