// Auto-reset events over an atomic flag, with a mutex and a condition variable
// for the threads that have to sleep. Set takes the lock only when somebody
// sleeps: the flag is stored before the sleeper count is read, and a sleeper
// counts itself before it reads the flag, so one of the two always sees the other.
// A wait for any of several events sleeps on a waiter of its own, which every
// watched event wakes when it is set; the waiter then scans from the first event.
#include "platform/Events.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace Platform {
namespace {

// How long a wait keeps looking before it sleeps: about as long as a short job.
constexpr auto kSpinTime = std::chrono::microseconds(50);

void Relax() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Calls `ready` until it is true or the spin time has passed.
template <typename Ready>
bool SpinUntil(Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + kSpinTime;
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (ready()) return true;
            Relax();
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::yield();
    }
}

}  // namespace

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
    signalled_.store(true, std::memory_order_seq_cst);
    if (sleepers_.load(std::memory_order_seq_cst) == 0) return;
    std::lock_guard<std::mutex> guard(lock_);
    changed_.notify_all();
    for (AnyWaiter* watcher : watchers_) watcher->Wake();
}

void AutoResetEvent::Reset() { signalled_.store(false, std::memory_order_seq_cst); }

bool AutoResetEvent::TryConsume() {
    // A plain read first, so that spinning on an unsignalled event writes nothing.
    return signalled_.load(std::memory_order_seq_cst) && signalled_.exchange(false, std::memory_order_seq_cst);
}

void AutoResetEvent::Wait() {
    if (SpinUntil([this] { return TryConsume(); })) return;
    std::unique_lock<std::mutex> guard(lock_);
    sleepers_.fetch_add(1, std::memory_order_seq_cst);
    changed_.wait(guard, [this] { return TryConsume(); });
    sleepers_.fetch_sub(1, std::memory_order_seq_cst);
}

// Either consumes the signal, or registers the waiter so that the next Set wakes it.
bool AutoResetEvent::ConsumeOrWatch(AnyWaiter& waiter) {
    std::lock_guard<std::mutex> guard(lock_);
    watchers_.push_back(&waiter);
    sleepers_.fetch_add(1, std::memory_order_seq_cst);
    if (!TryConsume()) return false;
    StopWatchingLocked(waiter);
    return true;
}

void AutoResetEvent::StopWatching(AnyWaiter& waiter) {
    std::lock_guard<std::mutex> guard(lock_);
    StopWatchingLocked(waiter);
}

void AutoResetEvent::StopWatchingLocked(AnyWaiter& waiter) {
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), &waiter), watchers_.end());
    sleepers_.fetch_sub(1, std::memory_order_seq_cst);
}

size_t WaitForAnyEvent(std::span<AutoResetEvent* const> events) {
    if (events.empty()) return 0;
    size_t found = events.size();
    auto scan = [&] {
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i]->TryConsume()) {
                found = i;
                return true;
            }
        }
        return false;
    };
    if (SpinUntil(scan)) return found;
    AutoResetEvent::AnyWaiter waiter;
    for (;;) {
        size_t watched = 0;
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
