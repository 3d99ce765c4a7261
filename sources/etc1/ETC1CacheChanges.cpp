#include "etc1/ETC1CacheChanges.h"

#include <unordered_set>

bool SameETC1CacheEntry(const ETC1CacheEntry& a, const ETC1CacheEntry& b) {
    return a.keyLow == b.keyLow && a.keyHigh == b.keyHigh && a.blockHigh == b.blockHigh && a.blockLow == b.blockLow;
}

void ETC1CacheChanges::Forget() {
    std::lock_guard<std::mutex> guard(lock_);
    changes_.clear();
    rewritten_ = false;
    overflowed_ = false;
}

void ETC1CacheChanges::MarkRewritten() {
    std::lock_guard<std::mutex> guard(lock_);
    changes_.clear();
    rewritten_ = true;
}

void ETC1CacheChanges::Record(uint32_t index, const ETC1CacheEntry& before) {
    std::lock_guard<std::mutex> guard(lock_);
    if (rewritten_ || overflowed_) return;
    if (changes_.size() == kMostTracked) {
        overflowed_ = true;
        changes_.clear();
        return;
    }
    changes_.push_back({index, before});
}

bool ETC1CacheChanges::AnyDiffers(const ETC1CacheEntry* table) const {
    std::lock_guard<std::mutex> guard(lock_);
    if (rewritten_ || overflowed_) return true;
    // The first change of an entry holds what the file has there.
    std::unordered_set<uint32_t> seen;
    for (const Change& change : changes_) {
        if (seen.insert(change.index).second && !SameETC1CacheEntry(table[change.index], change.before)) return true;
    }
    return false;
}
