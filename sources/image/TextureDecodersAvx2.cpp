// The AVX2 path of the 16-bit colour decoders (RGB565, RGB5_A1, RGBA4).
//
// A tile's 64 stored values are 32 pairs of horizontally adjacent pixels; two
// 4-pair loads and one shuffle give a whole tile row of 8 pixels in order,
// whose fields are then expanded eight at a time: v * 255 / 31 truncated is
// (v * 1053) >> 7 for every 5-bit v, v * 255 / 63 is (v * 259 + 3) >> 6 for
// every 6-bit v, and a 4-bit value is multiplied by 17.
#include <cstddef>
#include <cstdint>

#include "image/DecoderPaths.h"
#include "image/TextureTiles.h"
#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>

namespace ImageLib::Avx2 {
namespace {

BWVOQ_AVX2 inline __m128i Field(__m128i values, int32_t shift, int16_t mask) {
    return _mm_and_si128(_mm_srli_epi16(values, shift), _mm_set1_epi16(mask));
}

BWVOQ_AVX2 inline __m128i Expand5(__m128i v) { return _mm_srli_epi16(_mm_mullo_epi16(v, _mm_set1_epi16(1053)), 7); }

BWVOQ_AVX2 inline __m128i Expand6(__m128i v) {
    return _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(v, _mm_set1_epi16(259)), _mm_set1_epi16(3)), 6);
}

BWVOQ_AVX2 inline __m128i Expand4(__m128i v) { return _mm_mullo_epi16(v, _mm_set1_epi16(17)); }

// Channels in the low bytes of 16-bit lanes, one pixel per lane.
BWVOQ_AVX2 inline void StoreRgba(uint8_t* out, __m128i r, __m128i g, __m128i b, __m128i a) {
    const __m128i redGreen = _mm_or_si128(r, _mm_slli_epi16(g, 8));
    const __m128i blueAlpha = _mm_or_si128(b, _mm_slli_epi16(a, 8));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(redGreen, blueAlpha));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(redGreen, blueAlpha));
}

BWVOQ_AVX2 inline void StoreRgb(uint8_t* out, __m128i r, __m128i g, __m128i b) {
    const __m128i redGreen = _mm_or_si128(r, _mm_slli_epi16(g, 8));
    // R, G, B, 0 per pixel, then the zeros dropped: 12 bytes for 4 pixels.
    const __m128i dropFourth = _mm_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1);
    const __m128i first = _mm_shuffle_epi8(_mm_unpacklo_epi16(redGreen, b), dropFourth);
    const __m128i second = _mm_shuffle_epi8(_mm_unpackhi_epi16(redGreen, b), dropFourth);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_or_si128(first, _mm_slli_si128(second, 12)));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm_srli_si128(second, 4));
}

BWVOQ_AVX2 inline void RowRGB565(__m128i v, uint8_t* out) {
    StoreRgb(out, Expand5(_mm_srli_epi16(v, 11)), Expand6(Field(v, 5, 0x3F)), Expand5(Field(v, 0, 0x1F)));
}

BWVOQ_AVX2 inline void RowRGB5A1(__m128i v, uint8_t* out) {
    const __m128i alpha = _mm_and_si128(_mm_sub_epi16(_mm_setzero_si128(), Field(v, 0, 1)), _mm_set1_epi16(0xFF));
    StoreRgba(out, Expand5(_mm_srli_epi16(v, 11)), Expand5(Field(v, 6, 0x1F)), Expand5(Field(v, 1, 0x1F)), alpha);
}

BWVOQ_AVX2 inline void RowRGBA4(__m128i v, uint8_t* out) {
    StoreRgba(out, Expand4(_mm_srli_epi16(v, 12)), Expand4(Field(v, 8, 0xF)), Expand4(Field(v, 4, 0xF)),
              Expand4(Field(v, 0, 0xF)));
}

// Tile row y holds the pairs at 32-bit indices y's Morton offset / 2 + 0, 2, 8
// and 10; rows 2j and 2j + 1 come from the same two 4-pair loads.
template <size_t kOutBytes, void (*kDecodeRow)(__m128i, uint8_t*)>
BWVOQ_AVX2 void DecodeTileRows(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    const size_t stride = static_cast<size_t>(width) * kOutBytes;
    for (int32_t tileY = 0; tileY < height; tileY += kTileSide) {
        uint8_t* tileRow = destination + static_cast<size_t>(tileY) * stride;
        for (int32_t tileX = 0; tileX < width; tileX += kTileSide) {
            uint8_t* tile = tileRow + static_cast<size_t>(tileX) * kOutBytes;
            for (size_t y = 0; y < kTileSide; y += 2) {
                const uint8_t* pairs = source + 2 * kMortonOfY[y];
                const __m128 left = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs)));
                const __m128 right = _mm_castsi128_ps(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs + 32)));
                kDecodeRow(_mm_castps_si128(_mm_shuffle_ps(left, right, _MM_SHUFFLE(2, 0, 2, 0))), tile + y * stride);
                kDecodeRow(_mm_castps_si128(_mm_shuffle_ps(left, right, _MM_SHUFFLE(3, 1, 3, 1))),
                           tile + (y + 1) * stride);
            }
            source += kTilePixels * 2;
        }
    }
}

}  // namespace

bool Supported() { return Platform::ProcessorHasAvx2(); }

void DecodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeTileRows<3, RowRGB565>(source, destination, width, height);
}

void DecodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeTileRows<4, RowRGB5A1>(source, destination, width, height);
}

void DecodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeTileRows<4, RowRGBA4>(source, destination, width, height);
}

}  // namespace ImageLib::Avx2

#else

// Without the x86 kernels every AVX2 entry, the ETC1 ones included, is the portable decoder.
namespace ImageLib::Avx2 {

bool Supported() { return false; }

void DecodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    Portable::DecodeLevelRGB565(source, destination, width, height);
}

void DecodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    Portable::DecodeLevelRGB5A1(source, destination, width, height);
}

void DecodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    Portable::DecodeLevelRGBA4(source, destination, width, height);
}

void DecodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    Portable::DecodeLevelETC1(source, destination, width, height);
}

void DecodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    Portable::DecodeLevelETC1A4(source, destination, width, height);
}

}  // namespace ImageLib::Avx2

#endif
