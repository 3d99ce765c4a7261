// The names live in a fixed table of atomic slots, as a signal handler may
// neither lock nor allocate.
#include "platform/SignalRemovals.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <mutex>
#include <unistd.h>

namespace Platform {
namespace {

enum SlotState : int { kFree = 0, kFilling = 1, kArmed = 2 };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};

// A few files at a time at most: an output and a cache file.
Slot g_slots[8];

void RemoveArmedFiles(int signal) {
    int savedErrno = errno;
    for (Slot& slot : g_slots) {
        if (slot.state.load() == kArmed) ::unlink(slot.path);
    }
    // The handler was reset to the default action on entry; the signal raised
    // again waits until this handler returns and then ends the process.
    ::raise(signal);
    errno = savedErrno;
}

void InstallHandlers() {
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
        struct sigaction removal {};
        removal.sa_handler = RemoveArmedFiles;
        removal.sa_flags = SA_RESETHAND;
        sigemptyset(&removal.sa_mask);
        ::sigaction(signal, &removal, nullptr);
    }
}

}  // namespace

bool RemoveFileOnSignal(const std::string& path) {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    if (path.size() >= PATH_MAX) return false;
    for (Slot& slot : g_slots) {
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kFilling)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(kArmed);
        return true;
    }
    return false;
}

void KeepFileOnSignal(const std::string& path) {
    for (Slot& slot : g_slots) {
        if (slot.state.load() == kArmed && path == slot.path) {
            slot.state.store(kFree);
            return;
        }
    }
}

}  // namespace Platform
