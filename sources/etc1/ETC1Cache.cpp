#include "etc1/ETC1Cache.h"

#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_set>
#include <vector>

static_assert(std::endian::native == std::endian::little, "the cache file is the table's memory image");

int32_t g_etc1CacheMethod = -1;

namespace ETC1Encoder {

static_assert(sizeof(ETC1CacheEntry) == 16);

namespace {

// What the result cache's stores have changed since the table last matched its
// cache file byte for byte, so that a save can tell whether the file would
// change at all. Two blocks that share an entry may take turns in it during a
// run and leave it as it was; only the entries' first and last contents count.
class CacheChanges {
public:
    // The table matches its file again.
    void Forget();
    // Every entry may have changed (the table was emptied or filled).
    void MarkRewritten();
    // Entry `index` held `before` until a store replaced it. Stores of one entry
    // must record in the order in which they happened.
    void Record(uint32_t index, const ETC1CacheEntry& before);
    // True when an entry of `table` may differ from the file.
    bool AnyDiffers(const ETC1CacheEntry* table) const;

private:
    struct Change {
        uint32_t index;
        ETC1CacheEntry before;
    };
    // Beyond this many changes the table is taken as changed, without a list.
    static constexpr size_t kMostTracked = size_t{1} << 16;

    mutable std::mutex lock_;
    std::vector<Change> changes_;
    bool rewritten_ = true;
    bool overflowed_ = false;
};

bool SameETC1CacheEntry(const ETC1CacheEntry& a, const ETC1CacheEntry& b) {
    return a.keyLow == b.keyLow && a.keyHigh == b.keyHigh && a.blockHigh == b.blockHigh && a.blockLow == b.blockLow;
}

void CacheChanges::Forget() {
    std::lock_guard<std::mutex> guard(lock_);
    changes_.clear();
    rewritten_ = false;
    overflowed_ = false;
}

void CacheChanges::MarkRewritten() {
    std::lock_guard<std::mutex> guard(lock_);
    changes_.clear();
    rewritten_ = true;
}

void CacheChanges::Record(uint32_t index, const ETC1CacheEntry& before) {
    std::lock_guard<std::mutex> guard(lock_);
    if (rewritten_ || overflowed_) return;
    if (changes_.size() == kMostTracked) {
        overflowed_ = true;
        changes_.clear();
        return;
    }
    changes_.push_back({index, before});
}

bool CacheChanges::AnyDiffers(const ETC1CacheEntry* table) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (rewritten_ || overflowed_) return true;
    // The first change of an entry holds what the file has there.
    std::unordered_set<uint32_t> seen;
    for (const Change& change : changes_) {
        if (seen.insert(change.index).second && !SameETC1CacheEntry(table[change.index], change.before)) return true;
    }
    return false;
}

// Static storage: pages that no run touches cost nothing.
alignas(4096) ETC1CacheEntry ETC1Cache[kETC1CacheEntryCount];

// One lock guards every entry whose index falls on its stripe, so lookups and
// stores of one entry never overlap while different entries rarely contend.
constexpr uint32_t kLockStripes = 1024;
std::array<std::mutex, kLockStripes> g_stripes;

// The table starts empty: zero-filled memory would match the black block, whose key is 0.
std::atomic<bool> g_emptyPending{true};
std::mutex g_emptying;  // one thread carries a pending empty out while the others wait
CacheChanges g_changes;

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

}  // namespace ETC1Encoder
