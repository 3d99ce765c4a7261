// The AVX2 path of ETC1 and ETC1_A4 level decoding, two blocks at a time.
//
// The two blocks that lie side by side in a tile (top-left and top-right, then
// bottom-left and bottom-right) travel in the two 128-bit lanes. Per block: the
// eight colours a pixel can take are formed in 16-bit lanes and clamped to
// bytes by a saturating pack; each pixel's slot (sub-block, index value) is
// gathered from the bit planes in row-major order; byte shuffles then look the
// colours up and lay out the image rows of both blocks.
#include <array>
#include <cstddef>
#include <cstdint>

#include "image/DecoderPaths.h"
#include "image/ETC1BlockFormat.h"
#include "image/TextureTiles.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>

namespace ImageLib::Avx2 {
namespace {

using Lanes16 = std::array<int16_t, 8>;
// A byte shuffle, the same in both 128-bit lanes.
using Shuffle = std::array<uint8_t, 32>;
constexpr uint8_t kZero = 0x80;  // a shuffle index with the high bit set gives 0

// Base colours by channel byte: lanes 0-3 sub-block 1, lanes 4-7 sub-block 2;
// first for individual mode, then for differential mode.
struct alignas(16) BaseTable {
    Lanes16 lanes[2][256];
};
constexpr BaseTable MakeBaseTable() {
    BaseTable table{};
    for (int32_t mode = 0; mode < 2; ++mode) {
        for (int32_t byte = 0; byte < 256; ++byte) {
            std::array<uint8_t, 2> base = ETC1Format::BaseChannel(static_cast<uint32_t>(byte), mode == 1);
            for (int32_t lane = 0; lane < 8; ++lane) table.lanes[mode][byte][lane] = base[lane / 4];
        }
    }
    return table;
}
constexpr BaseTable kBases = MakeBaseTable();

// Modifiers by bits 2-7 of byte 4 (the two codewords): index values 0 to 3
// of sub-block 1 in lanes 0-3, of sub-block 2 in lanes 4-7.
struct alignas(16) ModifierTable {
    Lanes16 lanes[64];
};
constexpr ModifierTable MakeModifierTable() {
    ModifierTable table{};
    for (int32_t codewords = 0; codewords < 64; ++codewords) {
        for (int32_t sub = 0; sub < 2; ++sub) {
            const int32_t codeword = sub == 0 ? codewords >> 3 : codewords & 7;
            for (uint32_t index = 0; index < 4; ++index) {
                table.lanes[codewords][sub * 4 + index] = static_cast<int16_t>(ETC1Format::IndexModifier(codeword, index));
            }
        }
    }
    return table;
}
constexpr ModifierTable kModifierLanes = MakeModifierTable();

// Byte i of a row-major vector is the block pixel at x = i % 4, y = i / 4,
// which is pixel p = 4x + y of the bit planes.
constexpr int32_t PlaneIndex(int32_t i) { return 4 * (i % 4) + i / 4; }

struct alignas(32) ShuffleTables {
    Shuffle planeByteLow, planeByteHigh, planeBit;  // where each pixel's index bits lie
    Shuffle sub2[4];                                // slot bit 2 by the flip bits of both blocks
    Shuffle alphaByte, alphaOdd;                    // where each pixel's alpha nibble lies
    Shuffle pixelRgb[4], redGreenRgb, blueRgb;      // RGB image rows
    Shuffle pixelRgba[4], redGreenRgba, blueRgba, alphaRgba[4];  // RGBA image rows
};

constexpr ShuffleTables MakeShuffleTables() {
    ShuffleTables t{};
    for (int32_t lane = 0; lane < 2; ++lane) {
        for (int32_t i = 0; i < 16; ++i) {
            const int32_t p = PlaneIndex(i);
            const int32_t b = 16 * lane + i;
            t.planeByteLow[b] = static_cast<uint8_t>(p >> 3);
            t.planeByteHigh[b] = static_cast<uint8_t>(2 + (p >> 3));
            t.planeBit[b] = static_cast<uint8_t>(1 << (p & 7));
            // Flip 0: sub-block 2 is the right half; flip 1: the bottom half.
            for (int32_t flips = 0; flips < 4; ++flips) {
                bool flipped = ((flips >> lane) & 1) != 0;
                t.sub2[flips][b] = (flipped ? (p & 3) >= 2 : p >= 8) ? 4 : 0;
            }
            t.alphaByte[b] = static_cast<uint8_t>(p >> 1);
            t.alphaOdd[b] = (p & 1) != 0 ? 0xFF : 0;
        }
        // Slots 0-7 pick red from bytes 0-7 and green from bytes 8-15 of one
        // palette vector, blue from bytes 0-7 of another.
        for (int32_t j = 0; j < 16; ++j) {
            const int32_t b = 16 * lane + j;
            int32_t channel = j % 3;
            bool used = j < 12;
            for (int32_t y = 0; y < 4; ++y) t.pixelRgb[y][b] = used ? static_cast<uint8_t>(4 * y + j / 3) : kZero;
            t.redGreenRgb[b] = used && channel == 0 ? 0 : used && channel == 1 ? 8 : kZero;
            t.blueRgb[b] = used && channel == 2 ? 0 : kZero;
            channel = j % 4;
            for (int32_t y = 0; y < 4; ++y) {
                t.pixelRgba[y][b] = static_cast<uint8_t>(4 * y + j / 4);
                t.alphaRgba[y][b] = channel == 3 ? static_cast<uint8_t>(4 * y + j / 4) : kZero;
            }
            t.redGreenRgba[b] = channel == 0 ? 0 : channel == 1 ? 8 : kZero;
            t.blueRgba[b] = channel == 2 ? 0 : kZero;
        }
    }
    return t;
}
constexpr ShuffleTables kShuffles = MakeShuffleTables();

BWVOQ_AVX2 inline __m256i Load(const Shuffle& shuffle) {
    return _mm256_load_si256(reinterpret_cast<const __m256i*>(shuffle.data()));
}

// Eight bytes of each block, one block per lane.
BWVOQ_AVX2 inline __m256i LoadPair(const uint8_t* first, const uint8_t* second) {
    return _mm256_setr_m128i(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first)),
                             _mm_loadl_epi64(reinterpret_cast<const __m128i*>(second)));
}

BWVOQ_AVX2 inline __m256i LoadPair(const Lanes16& first, const Lanes16& second) {
    return _mm256_setr_m128i(_mm_load_si128(reinterpret_cast<const __m128i*>(first.data())),
                             _mm_load_si128(reinterpret_cast<const __m128i*>(second.data())));
}

// Row-major alpha of the 16 pixels of each block, each 4-bit value times 17.
BWVOQ_AVX2 inline __m256i AlphaValues(const uint8_t* first, const uint8_t* second) {
    const __m256i nibbleMask = _mm256_set1_epi8(0x0F);
    __m256i bytes = _mm256_shuffle_epi8(LoadPair(first, second), Load(kShuffles.alphaByte));
    __m256i low = _mm256_and_si256(bytes, nibbleMask);
    __m256i high = _mm256_and_si256(_mm256_srli_epi16(bytes, 4), nibbleMask);
    __m256i values = _mm256_blendv_epi8(low, high, Load(kShuffles.alphaOdd));
    return _mm256_or_si256(values, _mm256_slli_epi16(values, 4));
}

// The colours and pixel slots of two blocks, one per lane.
struct BlockPair {
    __m256i redGreen;  // bytes 0-7: red of slots 0-7; bytes 8-15: green
    __m256i blue;      // bytes 0-7: blue of slots 0-7
    __m256i slots;     // row-major: sub-block * 4 + index value of each pixel
};

BWVOQ_AVX2 inline __m256i Channel(uint8_t first, uint8_t second, uint32_t modes, __m256i modifiers) {
    return _mm256_add_epi16(LoadPair(kBases.lanes[modes & 1][first], kBases.lanes[modes >> 1][second]), modifiers);
}

BWVOQ_AVX2 inline BlockPair Prepare(const uint8_t* first, const uint8_t* second) {
    const uint32_t modes = ((first[4] >> 1) & 1) | (second[4] & 2);
    const uint32_t flips = (first[4] & 1) | (second[4] & 1) << 1;
    const __m256i modifiers = LoadPair(kModifierLanes.lanes[first[4] >> 2], kModifierLanes.lanes[second[4] >> 2]);
    const __m256i red = Channel(first[7], second[7], modes, modifiers);
    const __m256i green = Channel(first[6], second[6], modes, modifiers);
    const __m256i blue = Channel(first[5], second[5], modes, modifiers);

    const __m256i bits = LoadPair(first, second);
    const __m256i planeBit = Load(kShuffles.planeBit);
    __m256i low = _mm256_and_si256(_mm256_shuffle_epi8(bits, Load(kShuffles.planeByteLow)), planeBit);
    __m256i high = _mm256_and_si256(_mm256_shuffle_epi8(bits, Load(kShuffles.planeByteHigh)), planeBit);
    low = _mm256_and_si256(_mm256_cmpeq_epi8(low, planeBit), _mm256_set1_epi8(1));
    high = _mm256_and_si256(_mm256_cmpeq_epi8(high, planeBit), _mm256_set1_epi8(2));
    const __m256i slots = _mm256_or_si256(_mm256_or_si256(low, high), Load(kShuffles.sub2[flips]));
    return {_mm256_packus_epi16(red, green), _mm256_packus_epi16(blue, blue), slots};
}

// Image row y of both blocks, laid out as `pixel` (which slot each byte takes),
// `redGreen` and `blue` (which channel) say.
BWVOQ_AVX2 inline __m256i Row(const BlockPair& pair, const Shuffle& pixel, const Shuffle& redGreen,
                              const Shuffle& blue) {
    __m256i pixelSlots = _mm256_shuffle_epi8(pair.slots, Load(pixel));
    return _mm256_or_si256(_mm256_shuffle_epi8(pair.redGreen, _mm256_add_epi8(pixelSlots, Load(redGreen))),
                           _mm256_shuffle_epi8(pair.blue, _mm256_add_epi8(pixelSlots, Load(blue))));
}

// Two side-by-side ETC1 blocks into 8 pixels of 4 RGB rows.
BWVOQ_AVX2 inline void DecodePairRgb(const uint8_t* blocks, uint8_t* out, size_t stride) {
    const BlockPair pair = Prepare(blocks, blocks + 8);
    // The 12 bytes of each lane made one run of 24.
    const __m256i joinLanes = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    for (size_t y = 0; y < 4; ++y) {
        __m256i row = _mm256_permutevar8x32_epi32(
            Row(pair, kShuffles.pixelRgb[y], kShuffles.redGreenRgb, kShuffles.blueRgb), joinLanes);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + y * stride), _mm256_castsi256_si128(row));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + y * stride + 16), _mm256_extracti128_si256(row, 1));
    }
}

// Two side-by-side ETC1_A4 blocks (alpha, colour, alpha, colour) into 8 pixels
// of 4 RGBA rows.
BWVOQ_AVX2 inline void DecodePairRgba(const uint8_t* blocks, uint8_t* out, size_t stride) {
    const BlockPair pair = Prepare(blocks + 8, blocks + 24);
    const __m256i alphas = AlphaValues(blocks, blocks + 16);
    for (size_t y = 0; y < 4; ++y) {
        __m256i row = Row(pair, kShuffles.pixelRgba[y], kShuffles.redGreenRgba, kShuffles.blueRgba);
        row = _mm256_or_si256(row, _mm256_shuffle_epi8(alphas, Load(kShuffles.alphaRgba[y])));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + y * stride), row);
    }
}

template <bool kWithAlpha>
BWVOQ_AVX2 void DecodeBlocks(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    constexpr size_t kPixelBytes = kWithAlpha ? 4 : 3;
    constexpr size_t kPairBytes = kWithAlpha ? 32 : 16;
    const size_t stride = static_cast<size_t>(width) * kPixelBytes;
    for (int32_t tileY = 0; tileY < height; tileY += kTileSide) {
        uint8_t* tileRow = destination + static_cast<size_t>(tileY) * stride;
        for (int32_t tileX = 0; tileX < width; tileX += kTileSide) {
            uint8_t* tile = tileRow + static_cast<size_t>(tileX) * kPixelBytes;
            for (size_t half = 0; half < 2; ++half) {
                uint8_t* topLeft = tile + 4 * half * stride;
                if constexpr (kWithAlpha) {
                    DecodePairRgba(source, topLeft, stride);
                } else {
                    DecodePairRgb(source, topLeft, stride);
                }
                source += kPairBytes;
            }
        }
    }
}

}  // namespace

void DecodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeBlocks<false>(source, destination, width, height);
}

void DecodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeBlocks<true>(source, destination, width, height);
}

}  // namespace ImageLib::Avx2

#endif  // without the x86 kernels, TextureDecodersAvx2.cpp stands in for these
