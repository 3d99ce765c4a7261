// Wake signals over an eventfd, so that a poll on other descriptors can wait for them too.
#include "platform/Wake.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace Platform {

WakeSignal::WakeSignal() : descriptor_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (descriptor_ < 0) std::abort();  // without it no thread could ever be woken
}

WakeSignal::~WakeSignal() { ::close(descriptor_); }

void WakeSignal::Set() {
    const uint64_t one = 1;
    while (::write(descriptor_, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void WakeSignal::Clear() {
    uint64_t count;
    while (::read(descriptor_, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

void WakeSignal::Wait() const {
    const int descriptors[] = {descriptor_};
    WaitForReadable(descriptors, -1);
}

int WaitForReadable(std::span<const int> descriptors, int timeoutMilliseconds) {
    std::vector<pollfd> polls;
    for (int descriptor : descriptors) polls.push_back(pollfd{descriptor, POLLIN, 0});
    for (;;) {
        int ready = ::poll(polls.data(), polls.size(), timeoutMilliseconds);
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return -1;
        for (size_t i = 0; i < polls.size(); ++i) {
            if (polls[i].revents & (POLLIN | POLLHUP | POLLERR)) return static_cast<int>(i);
        }
        return -1;
    }
}

}  // namespace Platform
