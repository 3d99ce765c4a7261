// Auto-reset events: a signal that one wait consumes.
//
// Set signals the event; a wait that returns takes the signal away, so each Set
// releases at most one wait. Setting an event that is already signalled changes
// nothing. Waits spin for a short while before they sleep, as the events pass
// jobs of a few microseconds between threads.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace Platform {

class AutoResetEvent {
public:
    explicit AutoResetEvent(bool signalled) : signalled_(signalled) {}
    AutoResetEvent(const AutoResetEvent&) = delete;
    AutoResetEvent& operator=(const AutoResetEvent&) = delete;

    void Set();
    void Reset();
    // Waits without a time limit until the event is signalled, and consumes the signal.
    void Wait();

private:
    struct AnyWaiter;
    friend size_t WaitForAnyEvent(std::span<AutoResetEvent* const> events);

    bool TryConsume();
    bool ConsumeOrWatch(AnyWaiter& waiter);
    void StopWatching(AnyWaiter& waiter);
    void StopWatchingLocked(AnyWaiter& waiter);

    std::atomic<bool> signalled_;
    std::atomic<uint32_t> sleepers_{0};  // threads that sleep on this event and must be woken by Set
    std::mutex lock_;
    std::condition_variable changed_;
    std::vector<AnyWaiter*> watchers_;  // WaitForAnyEvent calls that sleep on this event
};

// Waits without a time limit until one of the events is signalled. Returns the
// lowest index among the signalled events and consumes that signal only; the
// others stay signalled. An empty list returns 0 at once, which names no event.
size_t WaitForAnyEvent(std::span<AutoResetEvent* const> events);

}  // namespace Platform
