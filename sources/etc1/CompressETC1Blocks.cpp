#include "etc1/CompressETC1Blocks.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

#include "etc1/ETC1BlockLayout.h"
#include "etc1/ETC1Cache.h"
#include "etc1/ETC1Hash.h"
#include "etc1/ETC1Methods.h"
#include "etc1/ETC1Progress.h"
#include "etc1/ETC1Report.h"
#include "etc1/ETC1WorkerPool.h"

namespace {

// The image library hands over whole 8x8 tiles only.
void RequireWholeTiles(int32_t width, int32_t height) {
    bool whole = width > 0 && height > 0 && width % 8 == 0 && height % 8 == 0 &&
                 static_cast<int64_t>(width / 4) * (height / 4) <= std::numeric_limits<int32_t>::max();
    if (whole) return;
    std::fprintf(stderr, "CompressETC1Blocks: a level of %d x %d pixels is not made of whole 8x8 tiles\n", width,
                 height);
    std::abort();
}

// Two zero-filled words per block.
std::unique_ptr<uint32_t[]> AllocateBlockWords(int32_t blocks) {
    std::unique_ptr<uint32_t[]> words(new (std::nothrow) uint32_t[2 * static_cast<size_t>(blocks)]());
    if (!words) ExitOnETC1AllocationFailure();
    return words;
}

// Takes one block from the result cache, hands it to a worker, or compresses it
// here; its two words land at `words` (low, then high) now or by the pool's shut-down.
void DealWithBlock(const uint8_t* block, const ETC1Method* entry, ETC1WorkerPool& pool, uint8_t* scratch,
                   uint32_t* words) {
    const bool cached = entry != nullptr && entry->cached;
    uint64_t key = 0;
    uint64_t hash = 0;
    uint32_t high = 0;
    uint32_t low = 0;
    if (cached) {
        HashETC1Block(block, key, hash);
        if (LookUpETC1Block(key, hash, high, low)) {
            words[0] = low;
            words[1] = high;
            return;
        }
    }
    if (entry == nullptr || entry->compress == nullptr) ExitOnUnknownETC1Method();
    if (pool.HasWorkers()) {
        pool.HandOut(block, words, key, hash);
        return;
    }
    entry->compress(block, scratch, high, low);
    if (cached) StoreETC1Block(key, hash, high, low);
    words[0] = low;
    words[1] = high;
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

    const ETC1Method* entry = FindETC1Method(method);
    const bool reportsProgress = entry != nullptr && entry->cached;
    ETC1WorkerPool pool;
    if (entry != nullptr && entry->compress != nullptr) pool.Start(method, entry->compress);
    ETC1Progress progress(blocks);
    uint8_t scratch[48];
    for (int32_t row = 0; row < blockRows; ++row) {
        for (int32_t column = 0; column < blockColumns; ++column) {
            const size_t n = static_cast<size_t>(row) * static_cast<size_t>(blockColumns) + static_cast<size_t>(column);
            uint8_t block[48];
            GatherETC1Block(source, width, column, row, block);
            if (alphas) PackETC1AlphaBlock(source, width, column, row, &alphas[2 * n]);
            DealWithBlock(block, entry, pool, scratch, &colours[2 * n]);
            if (reportsProgress) progress.BlockDone(static_cast<int32_t>(n) + 1);
        }
    }
    pool.ShutDown();  // every handed-out block is written once it returns
    WriteETC1Tiles(colours.get(), alphas.get(), blockColumns, blockRows, destination);
    // The closing newline always goes to the console, never through the sink.
    std::printf("\n");
    std::fflush(stdout);
}
