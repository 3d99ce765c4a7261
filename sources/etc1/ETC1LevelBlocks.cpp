#include "etc1/ETC1LevelBlocks.h"

#include <cstddef>

#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ETC1Encoder {
namespace {

const bool kUseAvx2 = Platform::ProcessorHasAvx2();

const uint8_t* PixelAt(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, int32_t x, int32_t y) {
    size_t index = static_cast<size_t>(4 * row + y) * static_cast<size_t>(width) + static_cast<size_t>(4 * column + x);
    return rgba + 4 * index;
}

uint8_t* WriteLittleEndian(uint8_t* out, uint32_t word) {
    for (int32_t i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(word >> (8 * i));
    return out + 4;
}

}  // namespace

void GatherETC1Block(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint8_t* block) {
    if (kUseAvx2) {
        GatherETC1BlockAvx2(rgba, width, column, row, block);
    } else {
        GatherETC1BlockPortable(rgba, width, column, row, block);
    }
}

void GatherETC1BlockPortable(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint8_t* block) {
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const uint8_t* pixel = PixelAt(rgba, width, column, row, x, y);
            for (int32_t c = 0; c < 3; ++c) block[3 * (4 * y + x) + c] = pixel[c];
        }
    }
}

#if BWVOQ_X86_KERNELS

// Each pixel row's 16 bytes lose their alpha bytes and close up to 12; the four
// rows then fill the block's three 16-byte thirds.
BWVOQ_AVX2 void GatherETC1BlockAvx2(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint8_t* block) {
    const __m128i dropAlpha = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -128, -128, -128, -128);
    __m128i rows[4];
    for (int32_t y = 0; y < 4; ++y) {
        const auto* pixels = reinterpret_cast<const __m128i*>(PixelAt(rgba, width, column, row, 0, y));
        rows[y] = _mm_shuffle_epi8(_mm_loadu_si128(pixels), dropAlpha);
    }
    auto* thirds = reinterpret_cast<__m128i*>(block);
    _mm_storeu_si128(thirds, _mm_or_si128(rows[0], _mm_slli_si128(rows[1], 12)));
    _mm_storeu_si128(thirds + 1, _mm_or_si128(_mm_srli_si128(rows[1], 4), _mm_slli_si128(rows[2], 8)));
    _mm_storeu_si128(thirds + 2, _mm_or_si128(_mm_srli_si128(rows[2], 8), _mm_slli_si128(rows[3], 4)));
}

#else

void GatherETC1BlockAvx2(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint8_t* block) {
    GatherETC1BlockPortable(rgba, width, column, row, block);
}

#endif

void PackETC1AlphaBlock(const uint8_t* rgba, int32_t width, int32_t column, int32_t row, uint32_t* words) {
    for (int32_t w = 0; w < 2; ++w) {
        uint32_t word = 0;
        for (int32_t j = 0; j < 8; ++j) {
            int32_t x = 2 * w + j / 4;
            int32_t y = j % 4;
            word |= static_cast<uint32_t>(PixelAt(rgba, width, column, row, x, y)[3] >> 4) << (4 * j);
        }
        words[w] = word;
    }
}

void WriteETC1Tiles(const uint32_t* colours, const uint32_t* alphas, int32_t blockColumns, int32_t blockRows,
                    uint8_t* destination) {
    constexpr int32_t kTileBlocks[4][2] = {{0, 0}, {0, 1}, {1, 0}, {1, 1}};  // row, column within the tile
    uint8_t* out = destination;
    for (int32_t tileRow = 0; tileRow < blockRows; tileRow += 2) {
        for (int32_t tileColumn = 0; tileColumn < blockColumns; tileColumn += 2) {
            for (const auto& place : kTileBlocks) {
                size_t n = static_cast<size_t>(tileRow + place[0]) * static_cast<size_t>(blockColumns) +
                           static_cast<size_t>(tileColumn + place[1]);
                if (alphas != nullptr) {
                    out = WriteLittleEndian(out, alphas[2 * n]);
                    out = WriteLittleEndian(out, alphas[2 * n + 1]);
                }
                out = WriteLittleEndian(out, colours[2 * n]);
                out = WriteLittleEndian(out, colours[2 * n + 1]);
            }
        }
    }
}

}  // namespace ETC1Encoder
