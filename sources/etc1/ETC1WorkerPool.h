// The worker pool of the cached ETC1 methods: one worker per processor (one more
// from three processors on), so that blocks are compressed on several threads
// while the driver's thread gathers, looks up and reports the next ones.
//
// A pool lives for one level. The driver hands out one block at a time to the
// lowest-numbered free worker; the worker compresses it, stores the result in
// the result cache and writes the two words into the driver's colour buffer.
// ShutDown returns once every handed-out block has been written.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "etc1/ETC1Methods.h"
#include "platform/Events.h"
#include "platform/Threads.h"

namespace ETC1Encoder {

inline constexpr int32_t kETC1WorkerSlots = 32;

// Internal settings for tests: they force the worker count (-1 keeps the
// processor rule) and make the threads of the slots in `refusedThreads` (bit i
// for slot i) fail to start.
struct ETC1PoolTestSettings {
    int32_t workerCount = -1;
    uint32_t refusedThreads = 0;
};
extern ETC1PoolTestSettings g_etc1PoolTestSettings;

// The worker count for a number of usable processors, at most 32.
int32_t ETC1WorkerCountForProcessors(int32_t processors);

struct ETC1Worker {
    Platform::Thread thread;
    Platform::AutoResetEvent startEvent{false};  // the driver hands out a job or the request to end
    Platform::AutoResetEvent doneEvent{true};    // signalled: the slot is free
    int32_t method = -1;                         // -1 asks the worker to end
    ETC1BlockCompressor compressor = nullptr;
    uint8_t block[kETC1BlockBytes] = {};
    uint8_t scratch[kETC1BlockBytes] = {};  // the compressor's, on this worker's thread
    uint32_t* output = nullptr;  // low word, then high word
    uint64_t key = 0;
    uint64_t hash = 0;
};

void ETC1WorkerThread(void* slot);

class ETC1WorkerPool {
public:
    ETC1WorkerPool() = default;
    ETC1WorkerPool(const ETC1WorkerPool&) = delete;
    ETC1WorkerPool& operator=(const ETC1WorkerPool&) = delete;
    ~ETC1WorkerPool() { ShutDown(); }

    // Starts the workers when the method is a cached one and at least two
    // worker threads could be started; otherwise the pool stays without workers
    // and the driver compresses every block itself.
    void Start(int32_t method, ETC1BlockCompressor compressor);

    bool HasWorkers() const { return workerCount_ > 0; }

    // Waits for a free worker and gives it the block; `output` receives the low
    // and the high word. Only for a pool with workers.
    void HandOut(const uint8_t* block, uint32_t* output, uint64_t key, uint64_t hash);

    // Ends every worker once its last job is written.
    void ShutDown();

private:
    std::unique_ptr<std::array<ETC1Worker, kETC1WorkerSlots>> slots_;
    std::array<Platform::AutoResetEvent*, kETC1WorkerSlots> waitList_{};  // done events of started workers
    std::array<ETC1Worker*, kETC1WorkerSlots> waitSlots_{};               // their slots, in the same order
    int32_t workerCount_ = 0;
};

}  // namespace ETC1Encoder
