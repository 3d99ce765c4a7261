// The names live in a fixed table of atomic slots, as a signal handler may
// neither lock nor allocate. The handlers are there only while a name is: code
// loaded into another program leaves no handler of its own behind.
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

enum SlotState : int { kFree = 0, kArmed = 1 };

struct Slot {
    std::atomic<int> state{kFree};
    char path[PATH_MAX] = {};
};

// A few files at a time at most: an output and a cache file.
Slot g_slots[8];

constexpr int kSignals[] = {SIGINT, SIGTERM};

struct Handlers {
    std::mutex lock;  // guards the fields below and changes to the table
    int armed = 0;
    bool installed[2] = {};
};

Handlers& TheHandlers() {
    static Handlers* handlers = new Handlers;  // outlives every static destructor
    return *handlers;
}

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

// Where the program handles or ignores a signal itself, that stays.
void InstallHandlers(Handlers& handlers) {
    for (int i = 0; i < 2; ++i) {
        struct sigaction current {};
        if (::sigaction(kSignals[i], nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
        struct sigaction removal {};
        removal.sa_handler = RemoveArmedFiles;
        removal.sa_flags = SA_RESETHAND;
        sigemptyset(&removal.sa_mask);
        handlers.installed[i] = ::sigaction(kSignals[i], &removal, nullptr) == 0;
    }
}

void RestoreDefaults(Handlers& handlers) {
    for (int i = 0; i < 2; ++i) {
        if (!handlers.installed[i]) continue;
        handlers.installed[i] = false;
        struct sigaction current {};
        if (::sigaction(kSignals[i], nullptr, &current) != 0 || current.sa_handler != RemoveArmedFiles) continue;
        struct sigaction standard {};
        standard.sa_handler = SIG_DFL;
        sigemptyset(&standard.sa_mask);
        ::sigaction(kSignals[i], &standard, nullptr);
    }
}

}  // namespace

bool RemoveFileOnSignal(const std::string& path) {
    if (path.size() >= PATH_MAX) return false;
    Handlers& handlers = TheHandlers();
    std::lock_guard<std::mutex> guard(handlers.lock);
    for (Slot& slot : g_slots) {
        if (slot.state.load() != kFree) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(kArmed);
        if (handlers.armed++ == 0) InstallHandlers(handlers);
        return true;
    }
    return false;
}

void KeepFileOnSignal(const std::string& path) {
    Handlers& handlers = TheHandlers();
    std::lock_guard<std::mutex> guard(handlers.lock);
    for (Slot& slot : g_slots) {
        if (slot.state.load() != kArmed || path != slot.path) continue;
        slot.state.store(kFree);
        if (--handlers.armed == 0) RestoreDefaults(handlers);
        return;
    }
}

}  // namespace Platform
