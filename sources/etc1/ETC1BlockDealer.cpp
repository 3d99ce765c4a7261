#include "etc1/ETC1BlockDealer.h"

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Hash.h"
#include "etc1/ETC1Report.h"

namespace {

void Put(uint32_t* words, uint32_t high, uint32_t low) {
    words[0] = low;
    words[1] = high;
}

}  // namespace

ETC1BlockDealer::ETC1BlockDealer(int32_t method) : method_(method), entry_(FindETC1Method(method)) {}

bool ETC1BlockDealer::MissesComeThick(int32_t number) {
    recentMisses_[static_cast<size_t>(misses_ % kMissesToStart)] = number;
    ++misses_;
    // The slot written next holds the oldest of the last kMissesToStart misses.
    const int32_t oldest = recentMisses_[static_cast<size_t>(misses_ % kMissesToStart)];
    return misses_ >= kMissesToStart && number - oldest < kMissWindow;
}

void ETC1BlockDealer::Deal(const uint8_t* block, uint32_t* words) {
    const int32_t number = blocksDealt_++;
    const bool cached = entry_ != nullptr && entry_->cached;
    uint64_t key = 0;
    uint64_t hash = 0;
    uint32_t high = 0;
    uint32_t low = 0;
    if (cached) {
        HashETC1Block(block, key, hash);
        if (LookUpETC1Block(key, hash, high, low)) {
            Put(words, high, low);
            return;
        }
    }
    if (entry_ == nullptr || entry_->compress == nullptr) ExitOnUnknownETC1Method();
    if (cached && !poolStarted_ && MissesComeThick(number)) {
        pool_.Start(method_, entry_->compress);
        poolStarted_ = true;
    }
    if (pool_.HasWorkers()) {
        pool_.HandOut(block, words, key, hash);
        return;
    }
    entry_->compress(block, scratch_, high, low);
    if (cached) StoreETC1Block(key, hash, high, low);
    Put(words, high, low);
}
