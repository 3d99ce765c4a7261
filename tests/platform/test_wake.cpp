#include <gtest/gtest.h>

#include <array>
#include <thread>

#include "platform/Wake.h"

using Platform::WaitForReadable;
using Platform::WakeSignal;

namespace {

TEST(WakeSignal, ASetSignalIsReadableUntilCleared) {
    WakeSignal first;
    WakeSignal second;
    const std::array<int, 2> both{first.Descriptor(), second.Descriptor()};
    EXPECT_EQ(WaitForReadable(both, 0), -1);
    second.Set();
    second.Set();  // a second Set changes nothing
    EXPECT_EQ(WaitForReadable(both, 0), 1);
    EXPECT_EQ(WaitForReadable(both, 0), 1);  // waiting does not clear it
    second.Clear();
    EXPECT_EQ(WaitForReadable(both, 0), -1);
}

TEST(WakeSignal, ASetFromAnotherThreadEndsAWait) {
    WakeSignal signal;
    std::thread setter([&] { signal.Set(); });
    signal.Wait();
    setter.join();
    const std::array<int, 1> one{signal.Descriptor()};
    EXPECT_EQ(WaitForReadable(one, 0), 0);
}

}  // namespace
