// A wake signal: one thread sets it, another sleeps until it is set, possibly
// together with other descriptors (a display server's connection).
#pragma once

#include <span>

namespace Platform {

class WakeSignal {
public:
    WakeSignal();
    ~WakeSignal();
    WakeSignal(const WakeSignal&) = delete;
    WakeSignal& operator=(const WakeSignal&) = delete;

    void Set();
    void Clear();  // takes the signal away
    // Sleeps until the signal is set; does not clear it.
    void Wait() const;
    int Descriptor() const { return descriptor_; }  // readable while set

private:
    int descriptor_;
};

// Sleeps until one of the descriptors is readable or the time (in milliseconds,
// below 0: no limit) has passed. The index of the first readable one, or -1.
int WaitForReadable(std::span<const int> descriptors, int timeoutMilliseconds);

}  // namespace Platform
