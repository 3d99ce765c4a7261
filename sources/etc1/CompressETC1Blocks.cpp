#include "etc1/CompressETC1Blocks.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <new>

#include "etc1/ETC1BlockDealer.h"
#include "etc1/ETC1BlockLayout.h"
#include "etc1/ETC1Progress.h"
#include "etc1/ETC1Report.h"

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

}  // namespace

void CompressETC1Blocks(const uint8_t* source, int32_t channels, uint8_t* destination, int32_t width, int32_t height,
                        int32_t method) {
    RequireWholeTiles(width, height);
    const int32_t blockColumns = width / 4;
    const int32_t blockRows = height / 4;
    const int32_t blocks = blockColumns * blockRows;
    std::unique_ptr<uint32_t[]> colours = AllocateBlockWords(blocks);
    std::unique_ptr<uint32_t[]> alphas = channels == 4 ? AllocateBlockWords(blocks) : nullptr;

    ETC1BlockDealer dealer(method);
    ETC1Progress progress(blocks);
    for (int32_t row = 0; row < blockRows; ++row) {
        for (int32_t column = 0; column < blockColumns; ++column) {
            const size_t n = static_cast<size_t>(row) * static_cast<size_t>(blockColumns) + static_cast<size_t>(column);
            uint8_t block[48];
            GatherETC1Block(source, width, column, row, block);
            if (alphas) PackETC1AlphaBlock(source, width, column, row, &alphas[2 * n]);
            dealer.Deal(block, &colours[2 * n]);
            if (dealer.ReportsProgress()) progress.BlockDone(static_cast<int32_t>(n) + 1);
        }
    }
    dealer.Finish();
    WriteETC1Tiles(colours.get(), alphas.get(), blockColumns, blockRows, destination);
    // The closing newline always goes to the console, never through the sink.
    std::printf("\n");
    std::fflush(stdout);
}
