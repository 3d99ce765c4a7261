// A connection of the memory display: native windows are numbers, pictures are
// dropped (the window system composes them on demand), and events are what
// tests inject.
#pragma once

#include <deque>
#include <mutex>

#include "ui/Display.h"

namespace ui {

class MemoryConnection final : public DisplayConnection {
public:
    RECT WorkArea() override;
    SIZE ScreenSize() override;
    NativeWindow CreateNativeWindow(const NativeWindowTraits& traits) override;
    void DestroyNativeWindow(NativeWindow) override {}
    void UpdateNativeWindow(NativeWindow, const NativeWindowTraits&) override {}
    void ShowNativeWindow(NativeWindow, bool) override {}
    void RaiseNativeWindow(NativeWindow) override {}
    void Present(NativeWindow, const PixelView&) override {}
    void SetNativeCursor(NativeWindow, CursorShape) override {}
    void SetNativeIcon(NativeWindow, std::span<const IconImage>) override {}
    bool NextEvent(DisplayEvent& event) override;
    void WaitForEvents(const Platform::WakeSignal& wake, int timeoutMilliseconds) override;

    // From any thread; the caller wakes the connection's thread.
    void Inject(const DisplayEvent& event);

private:
    std::mutex lock_;
    std::deque<DisplayEvent> events_;
    NativeWindow next_ = 0;
};

}  // namespace ui
