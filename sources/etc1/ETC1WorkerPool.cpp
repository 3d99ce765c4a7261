#include "etc1/ETC1WorkerPool.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Methods.h"
#include "platform/Processors.h"

namespace ETC1Encoder {

ETC1PoolTestSettings g_etc1PoolTestSettings;

namespace {

constexpr int32_t kEndRequest = -1;

int32_t DecideWorkerCount() {
    if (g_etc1PoolTestSettings.workerCount >= 0) return std::min(g_etc1PoolTestSettings.workerCount, kETC1WorkerSlots);
    uint32_t mask = 0;
    if (!Platform::GetProcessAffinityMask32(mask)) return 0;
    return ETC1WorkerCountForProcessors(std::popcount(mask));
}

bool StartWorkerThread(ETC1Worker& slot, int32_t slotIndex) {
    if ((g_etc1PoolTestSettings.refusedThreads >> slotIndex & 1) != 0) return false;
    return slot.thread.Start(ETC1WorkerThread, &slot, Platform::ThreadPriority::BelowNormal);
}

}  // namespace

int32_t ETC1WorkerCountForProcessors(int32_t processors) {
    int32_t count = processors >= 3 ? processors + 1 : processors;
    return std::min(count, kETC1WorkerSlots);
}

void ETC1WorkerThread(void* slotPointer) {
    auto& slot = *static_cast<ETC1Worker*>(slotPointer);
    slot.startEvent.Wait();
    while (slot.method != kEndRequest) {
        uint32_t high = 0;
        uint32_t low = 0;
        slot.compressor(slot.block, slot.scratch, high, low);
        StoreETC1Block(slot.key, slot.hash, high, low);
        slot.output[0] = low;
        slot.output[1] = high;
        slot.doneEvent.Set();
        slot.startEvent.Wait();
    }
}

void ETC1WorkerPool::Start(int32_t method, ETC1BlockCompressor compressor) {
    ShutDown();
    int32_t count = DecideWorkerCount();
    const ETC1Method* entry = FindETC1Method(method);
    if (count < 2 || entry == nullptr || !entry->cached) return;
    // Without memory for the slots the driver compresses in place.
    slots_.reset(new (std::nothrow) std::array<ETC1Worker, kETC1WorkerSlots>());
    if (!slots_) return;
    for (int32_t i = 0; i < count; ++i) {
        ETC1Worker& slot = (*slots_)[i];
        slot.method = method;
        slot.compressor = compressor;
        slot.startEvent.Reset();
        slot.doneEvent.Set();
        // A slot without a thread stays out of the wait list, so no block is ever handed to it.
        if (!StartWorkerThread(slot, i)) continue;
        waitList_[workerCount_] = &slot.doneEvent;
        waitSlots_[workerCount_] = &slot;
        ++workerCount_;
    }
    // One worker alone would only make the driver wait for it.
    if (workerCount_ < 2) ShutDown();
}

void ETC1WorkerPool::HandOut(const uint8_t* block, uint32_t* output, uint64_t key, uint64_t hash) {
    size_t free = Platform::WaitForAnyEvent(std::span(waitList_.data(), static_cast<size_t>(workerCount_)));
    if (free >= static_cast<size_t>(workerCount_)) std::abort();
    ETC1Worker& slot = *waitSlots_[free];
    std::memcpy(slot.block, block, kETC1BlockBytes);
    slot.output = output;
    slot.key = key;
    slot.hash = hash;
    slot.startEvent.Set();
}

void ETC1WorkerPool::ShutDown() {
    for (int32_t i = 0; i < workerCount_; ++i) {
        ETC1Worker& slot = *waitSlots_[i];
        slot.doneEvent.Wait();
        slot.method = kEndRequest;
        slot.startEvent.Set();
        slot.thread.Join();
    }
    workerCount_ = 0;
    slots_.reset();
}

}  // namespace ETC1Encoder
