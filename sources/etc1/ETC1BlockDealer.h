// Where the blocks of one level go: the result cache, the workers or the
// method's compressor on the driver's thread. The workers start at the first
// block that misses the cache, so a level found whole in the cache starts no thread.
#pragma once

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
    int32_t method_;
    const ETC1Method* entry_;
    ETC1WorkerPool pool_;
    bool poolStarted_ = false;
    uint8_t scratch_[kETC1BlockBytes] = {};
};
