// Helpers of the window system's tests: the memory display, window threads and
// waiting for what another thread does.
#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "ui/MemoryDisplay.h"
#include "ui/WindowSystem.h"

namespace UiTest {

// Chooses the memory display (every test does this first).
void UseMemoryDisplay();

// Waits until the condition holds; false after the time limit.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(60));

// A window class registered for one scope.
class ScopedClass {
public:
    ScopedClass(const char* name, ui::WNDPROC procedure);
    ~ScopedClass();
    ScopedClass(const ScopedClass&) = delete;
    ScopedClass& operator=(const ScopedClass&) = delete;

private:
    const char* name_;
};

// A thread that makes its windows with `setup`, then runs a plain message loop
// until WM_QUIT (none when `setup` gives no window). The window that `setup`
// returns is published once made.
class WindowThread {
public:
    explicit WindowThread(std::function<ui::HWND()> setup);
    ~WindowThread();  // joins
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    ui::HWND Window();  // waits until setup has returned
    int Join();         // the quit code

private:
    std::atomic<ui::HWND> window_{nullptr};
    std::atomic<bool> ready_{false};
    int exitCode_ = -1;
    std::thread thread_;
};

}  // namespace UiTest
