// Where the blocks of one level go: the result cache, the workers or the
// method's compressor on the driver's thread.
//
// Workers pay off only where misses come thick: they start once 16 of the last
// 64 blocks have missed the cache. The scattered misses of a level that is
// mostly in the cache (blocks that share an entry with another block) are
// compressed here, in order, without waking threads; the cache then ends as a
// run without workers leaves it, so an unchanged file need not be written again.
#pragma once

#include <array>
#include <cstdint>

#include "etc1/ETC1Methods.h"
#include "etc1/ETC1WorkerPool.h"

class ETC1BlockDealer {
public:
    explicit ETC1BlockDealer(int32_t method);

    // The cached methods report progress; the Fast ones do not.
    bool ReportsProgress() const { return entry_ != nullptr && entry_->cached; }

    // The block's two words land at `words` (low, then high) now, or by Finish.
    // A method without a compressor ends the process before the first block
    // that would be compressed.
    void Deal(const uint8_t* block, uint32_t* words);

    // Returns once every handed-out block has been written.
    void Finish() { pool_.ShutDown(); }

private:
    static constexpr int32_t kMissesToStart = 16;
    static constexpr int32_t kMissWindow = 64;

    // Notes that block `number` missed; true when the workers are wanted from now on.
    bool MissesComeThick(int32_t number);

    int32_t method_;
    const ETC1Method* entry_;
    ETC1WorkerPool pool_;
    bool poolStarted_ = false;
    int32_t blocksDealt_ = 0;
    int32_t misses_ = 0;
    std::array<int32_t, kMissesToStart> recentMisses_{};  // the numbers of the last misses, a ring
    uint8_t scratch_[kETC1BlockBytes] = {};
};
