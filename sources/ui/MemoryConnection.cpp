#include "ui/MemoryConnection.h"

#include "platform/Wake.h"
#include "ui/MemoryDisplay.h"

namespace ui {

RECT MemoryConnection::WorkArea() { return memory::kWorkArea; }

SIZE MemoryConnection::ScreenSize() {
    return SIZE{memory::kScreen.right - memory::kScreen.left, memory::kScreen.bottom - memory::kScreen.top};
}

NativeWindow MemoryConnection::CreateNativeWindow(const NativeWindowTraits&) { return ++next_; }

bool MemoryConnection::NextEvent(DisplayEvent& event) {
    std::lock_guard<std::mutex> guard(lock_);
    if (events_.empty()) return false;
    event = events_.front();
    events_.pop_front();
    return true;
}

// Injected events set the thread's wake signal, so waiting for it is enough.
void MemoryConnection::WaitForEvents(const Platform::WakeSignal& wake, int timeoutMilliseconds) {
    const int descriptors[] = {wake.Descriptor()};
    Platform::WaitForReadable(descriptors, timeoutMilliseconds);
}

void MemoryConnection::Inject(const DisplayEvent& event) {
    std::lock_guard<std::mutex> guard(lock_);
    events_.push_back(event);
}

}  // namespace ui
