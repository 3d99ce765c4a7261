#include "UiTestSupport.h"

#include <gtest/gtest.h>

namespace UiTest {

void UseMemoryDisplay() { ASSERT_TRUE(ui::UseMemoryDisplay()); }

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

ScopedClass::ScopedClass(const char* name, ui::WNDPROC procedure) : name_(name) {
    ui::WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.lpszClassName = name;
    EXPECT_NE(ui::RegisterClassEx(&windowClass), 0) << name;
}

ScopedClass::~ScopedClass() { ui::UnregisterClass(name_, nullptr); }

WindowThread::WindowThread(std::function<ui::HWND()> setup)
    : thread_([this, setup = std::move(setup)] {
          window_ = setup();
          ready_ = true;
          if (!window_) return;  // nothing to run a loop for
          ui::MSG message;
          while (ui::GetMessage(&message, nullptr, 0, 0) > 0) {
              ui::TranslateMessage(&message);
              ui::DispatchMessage(&message);
          }
          exitCode_ = static_cast<int>(message.wParam);
      }) {}

WindowThread::~WindowThread() {
    if (thread_.joinable()) thread_.join();
}

ui::HWND WindowThread::Window() {
    while (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(1));  // setup always returns
    return window_;
}

int WindowThread::Join() {
    if (thread_.joinable()) thread_.join();
    return exitCode_;
}

}  // namespace UiTest
