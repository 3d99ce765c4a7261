// What the result cache's stores have changed since the table last matched its
// cache file byte for byte, so that a save can tell whether the file would
// change at all. Two blocks that share an entry may take turns in it during a
// run and leave it as it was; only the entries' first and last contents count.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "etc1/ETC1Cache.h"

class ETC1CacheChanges {
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

bool SameETC1CacheEntry(const ETC1CacheEntry& a, const ETC1CacheEntry& b);
