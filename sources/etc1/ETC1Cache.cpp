#include "etc1/ETC1Cache.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/FileRanges.h"
#include "platform/Memory.h"

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

    void SetTracking() { tracking_.store(!rewritten_ && !overflowed_, std::memory_order_relaxed); }

    mutable std::mutex lock_;
    std::vector<Change> changes_;
    bool rewritten_ = true;
    bool overflowed_ = false;
    // Whether changes are listed: a store of a run without a file to match
    // skips the lock that every worker's store would otherwise queue on.
    std::atomic<bool> tracking_ = false;
};

bool SameETC1CacheEntry(const ETC1CacheEntry& a, const ETC1CacheEntry& b) {
    return a.keyLow == b.keyLow && a.keyHigh == b.keyHigh && a.blockHigh == b.blockHigh && a.blockLow == b.blockLow;
}

void CacheChanges::Forget() {
    std::lock_guard<std::mutex> guard(lock_);
    changes_.clear();
    rewritten_ = false;
    overflowed_ = false;
    SetTracking();
}

void CacheChanges::MarkRewritten() {
    std::lock_guard<std::mutex> guard(lock_);
    changes_.clear();
    rewritten_ = true;
    SetTracking();
}

void CacheChanges::Record(uint32_t index, const ETC1CacheEntry& before) {
    if (!tracking_.load(std::memory_order_relaxed)) return;
    std::lock_guard<std::mutex> guard(lock_);
    if (rewritten_ || overflowed_) return;
    if (changes_.size() == kMostTracked) {
        overflowed_ = true;
        SetTracking();
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

using ETC1CacheMemory::kEntriesPerPage;
using ETC1CacheMemory::kPageCount;
constexpr int64_t kPageBytes = int64_t{kEntriesPerPage} * int64_t{sizeof(ETC1CacheEntry)};
constexpr uint32_t kDirtyWordsPerPage = kEntriesPerPage / 64;
// Beyond this many blocks a run touches most pages: fill them all at once.
constexpr int64_t kLookupsForWholeTable = kPageCount / 4;

// One lock guards every entry whose index falls on its stripe, so lookups and
// stores of one entry never overlap while different entries rarely contend.
constexpr uint32_t kLockStripes = 1024;
std::array<std::mutex, kLockStripes> g_stripes;

// Each page of the table is filled (from the source file, else with empty
// entries) on its first use; until then its memory is never touched.
std::array<std::atomic<bool>, kPageCount> g_pageFilled{};
std::array<std::mutex, 64> g_pageFilling;  // one thread fills a page while the others wait
Platform::FileHandle g_source = Platform::FileHandle::Invalid();
int32_t g_fileMethod = -1;

// The entries stored since the table last matched a file, one bit each, and
// the pages that have any.
std::array<std::atomic<uint64_t>, kPageCount * kDirtyWordsPerPage> g_storedBits{};
std::array<std::atomic<bool>, kPageCount> g_pageStored{};

CacheChanges g_changes;

std::mutex& StripeOf(uint32_t index) { return g_stripes[index % kLockStripes]; }

int64_t PageLength(uint32_t page) {
    return std::min(kPageBytes, kETC1CacheBytes - int64_t{page} * kPageBytes);
}

// Fills pages [first, end) from the source, or empty; a read that fails or
// ends early leaves the rest of them empty, which is always safe: a miss.
void FillPages(uint32_t first, uint32_t end) {
    uint8_t* bytes = ETC1CacheMemory::Bytes() + int64_t{first} * kPageBytes;
    const int64_t length = (int64_t{end} - first - 1) * kPageBytes + PageLength(end - 1);
    int64_t read = 0;
    if (g_source.IsOpen()) Platform::ReadFromFileAt(g_source, int64_t{first} * kPageBytes, bytes, length, read);
    std::memset(bytes + read, 0xFF, static_cast<size_t>(length - read));
}

void EnsurePageFilled(uint32_t page) {
    if (g_pageFilled[page].load(std::memory_order_acquire)) return;
    std::lock_guard<std::mutex> guard(g_pageFilling[page % g_pageFilling.size()]);
    if (g_pageFilled[page].load(std::memory_order_relaxed)) return;
    FillPages(page, page + 1);
    g_pageFilled[page].store(true, std::memory_order_release);
}

void ForgetStores() {
    for (uint32_t page = 0; page < kPageCount; ++page) {
        if (!g_pageStored[page].load(std::memory_order_relaxed)) continue;
        for (uint32_t word = 0; word < kDirtyWordsPerPage; ++word) {
            g_storedBits[page * kDirtyWordsPerPage + word].store(0, std::memory_order_relaxed);
        }
        g_pageStored[page].store(false, std::memory_order_relaxed);
    }
}

bool IsAllZero(const ETC1CacheEntry& entry) {
    return (entry.keyLow | entry.keyHigh | entry.blockHigh | entry.blockLow) == 0;
}

}  // namespace

uint32_t ETC1CacheIndex(uint64_t hash) { return static_cast<uint32_t>(hash % kETC1CacheEntryCount); }

void EmptyETC1Cache() { ETC1CacheMemory::Refill(Platform::FileHandle::Invalid(), -1); }

bool LookUpETC1Block(uint64_t key, uint64_t hash, uint32_t& high, uint32_t& low) {
    uint32_t index = ETC1CacheIndex(hash);
    EnsurePageFilled(index / kEntriesPerPage);
    std::lock_guard<std::mutex> guard(StripeOf(index));
    const ETC1CacheEntry& entry = ETC1Cache[index];
    if (entry.keyLow != static_cast<uint32_t>(key) || entry.keyHigh != static_cast<uint32_t>(key >> 32)) return false;
    if (IsAllZero(entry)) return false;
    high = entry.blockHigh;
    low = entry.blockLow;
    return true;
}

void PrefetchETC1Entry(uint64_t hash) { __builtin_prefetch(&ETC1Cache[ETC1CacheIndex(hash)]); }

void StoreETC1Block(uint64_t key, uint64_t hash, uint32_t high, uint32_t low) {
    uint32_t index = ETC1CacheIndex(hash);
    const uint32_t page = index / kEntriesPerPage;
    EnsurePageFilled(page);
    const ETC1CacheEntry stored{static_cast<uint32_t>(key), static_cast<uint32_t>(key >> 32), high, low};
    std::lock_guard<std::mutex> guard(StripeOf(index));
    ETC1CacheEntry& entry = ETC1Cache[index];
    if (SameETC1CacheEntry(entry, stored)) return;
    g_changes.Record(index, entry);
    entry = stored;
    g_storedBits[index / 64].fetch_or(uint64_t{1} << (index % 64), std::memory_order_relaxed);
    g_pageStored[page].store(true, std::memory_order_relaxed);
}

void ExpectETC1Lookups(int64_t blocks) {
    if (blocks < kLookupsForWholeTable) return;
    Platform::AdviseHugePages(ETC1Cache, sizeof ETC1Cache);
    ETC1CacheMemory::FillAll();
}

namespace ETC1CacheMemory {

uint8_t* Bytes() { return reinterpret_cast<uint8_t*>(ETC1Cache); }

void Refill(Platform::FileHandle source, int32_t method) {
    Platform::CloseFile(g_source);
    g_source = source;
    g_fileMethod = source.IsOpen() ? method : -1;
    for (std::atomic<bool>& filled : g_pageFilled) filled.store(false, std::memory_order_relaxed);
    ForgetStores();
    if (source.IsOpen()) g_changes.Forget();
    else g_changes.MarkRewritten();
}

void FillAll() {
    // Runs of pages not yet filled, each in one read.
    uint32_t page = 0;
    while (page < kPageCount) {
        if (g_pageFilled[page].load(std::memory_order_acquire)) {
            ++page;
            continue;
        }
        uint32_t end = page + 1;
        while (end < kPageCount && !g_pageFilled[end].load(std::memory_order_acquire)) ++end;
        FillPages(page, end);
        for (uint32_t filled = page; filled < end; ++filled) g_pageFilled[filled].store(true, std::memory_order_release);
        page = end;
    }
}

void ForEachStoredPage(const std::function<void(uint32_t page, const uint64_t (&bits)[4])>& visit) {
    static_assert(kDirtyWordsPerPage == 4);
    for (uint32_t page = 0; page < kPageCount; ++page) {
        if (!g_pageStored[page].load(std::memory_order_acquire)) continue;
        uint64_t bits[4];
        for (uint32_t word = 0; word < 4; ++word) bits[word] = g_storedBits[page * 4 + word].load(std::memory_order_relaxed);
        visit(page, bits);
    }
}

bool ChangedSinceFile() { return g_changes.AnyDiffers(ETC1Cache); }

int32_t FileMethod() { return g_fileMethod; }

void MarkSaved(int32_t method) {
    g_fileMethod = method;
    ForgetStores();
    g_changes.Forget();
}

}  // namespace ETC1CacheMemory

}  // namespace ETC1Encoder
