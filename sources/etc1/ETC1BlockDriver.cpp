#include "etc1/ETC1BlockDriver.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Hash.h"
#include "etc1/ETC1LevelBlocks.h"
#include "etc1/ETC1Messages.h"
#include "etc1/ETC1Methods.h"
#include "etc1/ETC1WorkerPool.h"

namespace ETC1Encoder {
namespace {

// Where the blocks of one level go: the result cache, the workers or the
// method's compressor on the driver's thread.
//
// Workers pay off only where misses come thick: they start once 16 of the last
// 64 blocks have missed the cache. The scattered misses of a level that is
// mostly in the cache (blocks that share an entry with another block) are
// compressed here, in order, without waking threads; the cache then ends as a
// run without workers leaves it, so an unchanged file need not be written again.
class BlockRouter {
public:
    explicit BlockRouter(int32_t method);

    // The cached methods report progress; the Fast ones do not.
    bool ReportsProgress() const { return Cached(); }

    bool Cached() const { return entry_ != nullptr && entry_->cached; }

    // The block's two words land at `words` (low, then high) now, or by Finish.
    // `key` and `hash` are the block's own for a cached method. A method
    // without a compressor ends the process before the first block that would
    // be compressed.
    void Route(const uint8_t* block, uint64_t key, uint64_t hash, uint32_t* words);

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
    int32_t blocksRouted_ = 0;
    int32_t misses_ = 0;
    std::array<int32_t, kMissesToStart> recentMisses_{};  // the numbers of the last misses, a ring
    uint8_t scratch_[kETC1BlockBytes] = {};
};

void Put(uint32_t* words, uint32_t high, uint32_t low) {
    words[0] = low;
    words[1] = high;
}

BlockRouter::BlockRouter(int32_t method) : method_(method), entry_(FindETC1Method(method)) {}

bool BlockRouter::MissesComeThick(int32_t number) {
    recentMisses_[static_cast<size_t>(misses_ % kMissesToStart)] = number;
    ++misses_;
    // The slot written next holds the oldest of the last kMissesToStart misses.
    const int32_t oldest = recentMisses_[static_cast<size_t>(misses_ % kMissesToStart)];
    return misses_ >= kMissesToStart && number - oldest < kMissWindow;
}

void BlockRouter::Route(const uint8_t* block, uint64_t key, uint64_t hash, uint32_t* words) {
    const int32_t number = blocksRouted_++;
    const bool cached = Cached();
    uint32_t high = 0;
    uint32_t low = 0;
    if (cached) {
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

// The image library hands over whole 8x8 tiles only.
void RequireWholeTiles(int32_t width, int32_t height) {
    bool whole = width > 0 && height > 0 && width % 8 == 0 && height % 8 == 0 &&
                 static_cast<int64_t>(width / 4) * (height / 4) <= std::numeric_limits<int32_t>::max();
    if (whole) return;
    std::fprintf(stderr, "CompressETC1Blocks: a level of %d x %d pixels is not made of whole 8x8 tiles\n", width,
                 height);
    std::abort();
}

constexpr int32_t kBlocksAhead = 4;

// Two zero-filled words per block.
std::unique_ptr<uint32_t[]> AllocateBlockWords(int32_t blocks) {
    std::unique_ptr<uint32_t[]> words(new (std::nothrow) uint32_t[2 * static_cast<size_t>(blocks)]());
    if (!words) ExitOnETC1AllocationFailure();
    return words;
}

}  // namespace

void CompressETC1Blocks(const uint8_t* source, int32_t channels, uint8_t* destination, int32_t width, int32_t height,
                        int32_t method) {
    RequireWholeTiles(width, height);
    const int32_t blockColumns = width / 4;
    const int32_t blockRows = height / 4;
    const int32_t blocks = blockColumns * blockRows;
    std::unique_ptr<uint32_t[]> colours = AllocateBlockWords(blocks);
    std::unique_ptr<uint32_t[]> alphas = channels == 4 ? AllocateBlockWords(blocks) : nullptr;

    BlockRouter router(method);
    ETC1Progress progress(blocks);
    for (int32_t row = 0; row < blockRows; ++row) {
        for (int32_t first = 0; first < blockColumns; first += kBlocksAhead) {
            // A few blocks at a time: their cache entries come from memory
            // together while the first is looked up.
            const int32_t count = std::min(kBlocksAhead, blockColumns - first);
            uint8_t block[kBlocksAhead][kETC1BlockBytes];
            uint64_t key[kBlocksAhead] = {};
            uint64_t hash[kBlocksAhead] = {};
            for (int32_t i = 0; i < count; ++i) {
                GatherETC1Block(source, width, first + i, row, block[i]);
                if (!router.Cached()) continue;
                HashETC1Block(block[i], key[i], hash[i]);
                PrefetchETC1Entry(hash[i]);
            }
            for (int32_t i = 0; i < count; ++i) {
                const int32_t column = first + i;
                const size_t n = static_cast<size_t>(row) * static_cast<size_t>(blockColumns) + static_cast<size_t>(column);
                if (alphas) PackETC1AlphaBlock(source, width, column, row, &alphas[2 * n]);
                router.Route(block[i], key[i], hash[i], &colours[2 * n]);
                if (router.ReportsProgress()) progress.BlockDone(static_cast<int32_t>(n) + 1);
            }
        }
    }
    router.Finish();
    WriteETC1Tiles(colours.get(), alphas.get(), blockColumns, blockRows, destination);
    PrintETC1LevelEnd();
}

}  // namespace ETC1Encoder
