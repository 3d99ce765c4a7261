// POSIX threads; below-normal priority is the thread's own nice value plus one.
#include "platform/Threads.h"

#include <pthread.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <type_traits>

namespace Platform {

static_assert(std::is_same_v<pthread_t, unsigned long>, "Thread keeps a pthread_t in an unsigned long");

namespace {

struct Launch {
    Thread::Function function;
    void* argument;
    ThreadPriority priority;
};

// Linux keeps a nice value per thread: PRIO_PROCESS with the thread id names this thread alone.
void LowerOwnPriority() {
    id_t self = static_cast<id_t>(::gettid());
    errno = 0;
    int nice = ::getpriority(PRIO_PROCESS, self);
    if (errno == 0) ::setpriority(PRIO_PROCESS, self, nice + 1);
}

void* RunLaunch(void* launchPointer) {
    auto* launch = static_cast<Launch*>(launchPointer);
    Launch job = *launch;
    delete launch;
    if (job.priority == ThreadPriority::BelowNormal) LowerOwnPriority();
    job.function(job.argument);
    return nullptr;
}

}  // namespace

Thread::~Thread() { Join(); }

bool Thread::Start(Function function, void* argument, ThreadPriority priority) {
    if (started_ || function == nullptr) return false;
    auto* launch = new (std::nothrow) Launch{function, argument, priority};
    if (launch == nullptr) return false;
    pthread_t thread{};
    if (::pthread_create(&thread, nullptr, RunLaunch, launch) != 0) {
        delete launch;
        return false;
    }
    handle_ = thread;
    started_ = true;
    return true;
}

void Thread::Join() {
    if (!started_) return;
    ::pthread_join(handle_, nullptr);
    started_ = false;
}

}  // namespace Platform
