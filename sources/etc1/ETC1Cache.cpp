#include "etc1/ETC1Cache.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstring>
#include <mutex>

#include "etc1/ETC1CacheChanges.h"

static_assert(std::endian::native == std::endian::little, "the cache file is the table's memory image");
static_assert(sizeof(ETC1CacheEntry) == 16);

int32_t g_etc1CacheMethod = -1;

namespace {

// Static storage: pages that no run touches cost nothing.
alignas(4096) ETC1CacheEntry ETC1Cache[kETC1CacheEntryCount];

// One lock guards every entry whose index falls on its stripe, so lookups and
// stores of one entry never overlap while different entries rarely contend.
constexpr uint32_t kLockStripes = 1024;
std::array<std::mutex, kLockStripes> g_stripes;

// The table starts empty: zero-filled memory would match the black block, whose key is 0.
std::atomic<bool> g_emptyPending{true};
std::mutex g_emptying;  // one thread carries a pending empty out while the others wait
ETC1CacheChanges g_changes;

std::mutex& StripeOf(uint32_t index) { return g_stripes[index % kLockStripes]; }

}  // namespace

uint32_t ETC1CacheIndex(uint64_t hash) { return static_cast<uint32_t>(hash % kETC1CacheEntryCount); }

void EmptyETC1Cache() {
    g_emptyPending.store(true, std::memory_order_release);
    g_changes.MarkRewritten();
}

bool LookUpETC1Block(uint64_t key, uint64_t hash, uint32_t& high, uint32_t& low) {
    ETC1CacheMemory::FinishPendingEmpty();
    uint32_t index = ETC1CacheIndex(hash);
    std::lock_guard<std::mutex> guard(StripeOf(index));
    const ETC1CacheEntry& entry = ETC1Cache[index];
    if (entry.keyLow != static_cast<uint32_t>(key) || entry.keyHigh != static_cast<uint32_t>(key >> 32)) return false;
    high = entry.blockHigh;
    low = entry.blockLow;
    return true;
}

void StoreETC1Block(uint64_t key, uint64_t hash, uint32_t high, uint32_t low) {
    ETC1CacheMemory::FinishPendingEmpty();
    uint32_t index = ETC1CacheIndex(hash);
    const ETC1CacheEntry stored{static_cast<uint32_t>(key), static_cast<uint32_t>(key >> 32), high, low};
    std::lock_guard<std::mutex> guard(StripeOf(index));
    ETC1CacheEntry& entry = ETC1Cache[index];
    if (SameETC1CacheEntry(entry, stored)) return;
    g_changes.Record(index, entry);
    entry = stored;
}

namespace ETC1CacheMemory {

uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(ETC1Cache); }

void FillEmpty() {
    std::memset(ETC1Cache, 0xFF, sizeof ETC1Cache);
    g_emptyPending.store(false, std::memory_order_release);
    g_changes.MarkRewritten();
}

void FinishPendingEmpty() {
    if (!g_emptyPending.load(std::memory_order_acquire)) return;
    std::lock_guard<std::mutex> guard(g_emptying);
    if (g_emptyPending.load(std::memory_order_acquire)) FillEmpty();
}

void MarkWhollyLoaded() {
    g_emptyPending.store(false, std::memory_order_release);
    g_changes.Forget();
}

bool ChangedSinceFile() { return g_changes.AnyDiffers(ETC1Cache); }

void MarkSaved() { g_changes.Forget(); }

}  // namespace ETC1CacheMemory
