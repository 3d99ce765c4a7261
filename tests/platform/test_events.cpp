#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/Events.h"

using Platform::AutoResetEvent;
using Platform::WaitForAnyEvent;

namespace {

TEST(AutoResetEvent, AWaitConsumesTheSignal) {
    AutoResetEvent event(true);
    AutoResetEvent other(false);
    std::array<AutoResetEvent*, 2> both{&event, &other};
    event.Wait();
    other.Set();
    EXPECT_EQ(WaitForAnyEvent(both), 1u);  // `event` no longer signalled
    event.Set();
    event.Set();  // a second Set adds nothing
    event.Wait();
    other.Set();
    EXPECT_EQ(WaitForAnyEvent(both), 1u);
}

TEST(AutoResetEvent, ResetTakesTheSignalAway) {
    AutoResetEvent event(true);
    AutoResetEvent other(true);
    event.Reset();
    std::array<AutoResetEvent*, 2> both{&event, &other};
    EXPECT_EQ(WaitForAnyEvent(both), 1u);
}

TEST(WaitForAnyEvent, GivesTheLowestSignalledAndConsumesOnlyIt) {
    std::vector<std::unique_ptr<AutoResetEvent>> events;
    std::array<AutoResetEvent*, 32> list{};
    for (AutoResetEvent*& entry : list) entry = events.emplace_back(std::make_unique<AutoResetEvent>(false)).get();
    events[31]->Set();
    events[17]->Set();
    events[4]->Set();
    EXPECT_EQ(WaitForAnyEvent(list), 4u);
    EXPECT_EQ(WaitForAnyEvent(list), 17u);
    EXPECT_EQ(WaitForAnyEvent(list), 31u);
    EXPECT_EQ(WaitForAnyEvent(std::span<AutoResetEvent* const>()), 0u);
}

TEST(WaitForAnyEvent, WakesWhenAnotherThreadSets) {
    AutoResetEvent first(false);
    AutoResetEvent second(false);
    std::array<AutoResetEvent*, 2> both{&first, &second};
    std::atomic<bool> waiting{false};
    std::thread setter([&] {
        while (!waiting.load()) std::this_thread::yield();
        second.Set();
    });
    waiting.store(true);
    EXPECT_EQ(WaitForAnyEvent(both), 1u);
    setter.join();
}

// Sets come late enough for the waits to stop spinning and sleep.
TEST(AutoResetEvent, SleepingWaitsAreWokenBySet) {
    AutoResetEvent single(false);
    AutoResetEvent first(false);
    AutoResetEvent second(false);
    std::array<AutoResetEvent*, 2> both{&first, &second};
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        single.Set();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        second.Set();
    });
    single.Wait();
    EXPECT_EQ(WaitForAnyEvent(both), 1u);
    setter.join();
}

// A ping-pong of many rounds between a waiter on two events and two setters:
// every Set is consumed by exactly one wait, none is lost.
TEST(WaitForAnyEvent, NeverLosesASignal) {
    constexpr int kRounds = 20000;
    AutoResetEvent ready[2] = {AutoResetEvent(false), AutoResetEvent(false)};
    AutoResetEvent go[2] = {AutoResetEvent(false), AutoResetEvent(false)};
    std::array<AutoResetEvent*, 2> list{&ready[0], &ready[1]};
    auto setter = [&](int side) {
        for (int round = 0; round < kRounds; ++round) {
            ready[side].Set();
            go[side].Wait();
        }
    };
    std::thread a(setter, 0);
    std::thread b(setter, 1);
    int seen[2] = {0, 0};
    for (int i = 0; i < 2 * kRounds; ++i) {
        size_t side = WaitForAnyEvent(list);
        ++seen[side];
        go[side].Set();
    }
    a.join();
    b.join();
    EXPECT_EQ(seen[0], kRounds);
    EXPECT_EQ(seen[1], kRounds);
}

}  // namespace
