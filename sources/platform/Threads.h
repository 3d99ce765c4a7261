// Threads: start a function on a thread of its own and wait until it has ended.
#pragma once

namespace Platform {

enum class ThreadPriority { Normal, BelowNormal };

class Thread {
public:
    using Function = void (*)(void* argument);

    Thread() = default;
    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;
    ~Thread();  // waits for a started thread

    // Runs function(argument) on a new thread at once. BelowNormal raises the
    // thread's nice value by one; when that is refused the thread runs anyway.
    // False when no thread could be created (the object then stays unstarted).
    bool Start(Function function, void* argument, ThreadPriority priority);

    bool IsStarted() const { return started_; }

    // Waits until the thread has returned; afterwards the object is unstarted.
    void Join();

private:
    unsigned long handle_ = 0;  // pthread_t
    bool started_ = false;
};

}  // namespace Platform
