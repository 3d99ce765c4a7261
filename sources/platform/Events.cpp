// Auto-reset events over a mutex and a condition variable each. A wait for any
// of several events sleeps on a waiter of its own, which every watched event
// wakes when it is set; the waiter then scans the events again from the first.
#include "platform/Events.h"

#include <algorithm>

namespace Platform {

struct AutoResetEvent::AnyWaiter {
    std::mutex lock;
    std::condition_variable woken;
    bool pending = false;

    void Wake() {
        std::lock_guard<std::mutex> guard(lock);
        pending = true;
        woken.notify_one();
    }

    void Sleep() {
        std::unique_lock<std::mutex> guard(lock);
        woken.wait(guard, [this] { return pending; });
        pending = false;
    }
};

void AutoResetEvent::Set() {
    std::lock_guard<std::mutex> guard(lock_);
    signalled_ = true;
    changed_.notify_one();
    for (AnyWaiter* watcher : watchers_) watcher->Wake();
}

void AutoResetEvent::Reset() {
    std::lock_guard<std::mutex> guard(lock_);
    signalled_ = false;
}

void AutoResetEvent::Wait() {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [this] { return signalled_; });
    signalled_ = false;
}

bool AutoResetEvent::TryConsume() {
    std::lock_guard<std::mutex> guard(lock_);
    bool was = signalled_;
    signalled_ = false;
    return was;
}

// Either consumes the signal, or registers the waiter so that the next Set wakes it.
bool AutoResetEvent::ConsumeOrWatch(AnyWaiter& waiter) {
    std::lock_guard<std::mutex> guard(lock_);
    if (signalled_) {
        signalled_ = false;
        return true;
    }
    watchers_.push_back(&waiter);
    return false;
}

void AutoResetEvent::StopWatching(AnyWaiter& waiter) {
    std::lock_guard<std::mutex> guard(lock_);
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), &waiter), watchers_.end());
}

size_t WaitForAnyEvent(std::span<AutoResetEvent* const> events) {
    if (events.empty()) return 0;
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i]->TryConsume()) return i;
    }
    AutoResetEvent::AnyWaiter waiter;
    for (;;) {
        size_t watched = 0;
        size_t found = events.size();
        for (; watched < events.size(); ++watched) {
            if (events[watched]->ConsumeOrWatch(waiter)) {
                found = watched;
                break;
            }
        }
        if (found == events.size()) waiter.Sleep();
        for (size_t i = 0; i < watched; ++i) events[i]->StopWatching(waiter);
        if (found != events.size()) return found;
    }
}

}  // namespace Platform
