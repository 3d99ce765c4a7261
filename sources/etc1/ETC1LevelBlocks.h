// The blocks of a level: gathering a 4x4 block from RGBA pixels, packing its
// alpha for ETC1_A4, and laying the blocks out in 8x8-pixel tiles.
#pragma once

#include <cstdint>

namespace ETC1Encoder {

// The block at block column `column`, block row `row` of an RGBA image `width`
// pixels wide: 16 pixels row by row, R, G, B each, into `block` (48 bytes).
// Vectorised when the processor runs it.
void GatherETC1Block(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint8_t* block);
// Pixel by pixel, or with byte shuffles (needs AVX2).
void GatherETC1BlockPortable(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint8_t* block);
void GatherETC1BlockAvx2(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint8_t* block);

// The top four bits of the block's 16 alpha values, column by column: word 0
// holds columns 0 and 1, word 1 columns 2 and 3, four bits a pixel from bit 0 up.
void PackETC1AlphaBlock(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint32_t* words);

// Writes the blocks in tile order: tiles row by row, and within a tile the
// blocks top-left, top-right, bottom-left, bottom-right. `colours` holds two
// words per block in block order (low word, then high word); `alphas` likewise
// two alpha words, or is null for ETC1. Each block is written as its alpha block
// (ETC1_A4 only) and then its colour block, each a little-endian 64-bit value.
// Block columns and rows must be even.
void WriteETC1Tiles(const uint32_t* colours, const uint32_t* alphas, int32_t blockColumns, int32_t blockRows,
                    uint8_t* destination);

}  // namespace ETC1Encoder
