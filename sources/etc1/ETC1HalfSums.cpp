#include "etc1/ETC1HalfSums.h"

#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ETC1Encoder {
namespace {

const bool kUseAvx2 = Platform::ProcessorHasAvx2();

}  // namespace

void SumBlockHalves(const uint8_t* block, int32_t sums[kBlockHalves][3]) {
    if (kUseAvx2) {
        SumBlockHalvesAvx2(block, sums);
    } else {
        SumBlockHalvesPortable(block, sums);
    }
}

void SumBlockHalvesPortable(const uint8_t* block, int32_t sums[kBlockHalves][3]) {
    int32_t pairs[4][2][3];  // row, column pair, channel: two neighbouring pixels
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t pair = 0; pair < 2; ++pair) {
            const uint8_t* pixel = block + 3 * (4 * y + 2 * pair);
            for (int32_t c = 0; c < 3; ++c) pairs[y][pair][c] = pixel[c] + pixel[3 + c];
        }
    }
    for (int32_t half = 0; half < 2; ++half) {
        for (int32_t c = 0; c < 3; ++c) {
            sums[half][c] = pairs[0][half][c] + pairs[1][half][c] + pairs[2][half][c] + pairs[3][half][c];
            sums[2 + half][c] = pairs[2 * half][0][c] + pairs[2 * half][1][c] + pairs[2 * half + 1][0][c] +
                                pairs[2 * half + 1][1][c];
        }
    }
}

#if BWVOQ_X86_KERNELS

namespace {

// pshufb controls that pick one channel's bytes out of each 16-byte third of
// the block, pixel p to byte p: for each third, R in the low lane and G in the
// high one, and B.
struct ChannelControls {
    alignas(32) uint8_t redGreen[3][32];
    alignas(16) uint8_t blue[3][16];
};

constexpr uint8_t ChannelByte(int32_t pixel, int32_t channel, int32_t third) {
    const int32_t offset = 3 * pixel + channel - 16 * third;
    return offset >= 0 && offset < 16 ? static_cast<uint8_t>(offset) : 0x80;
}

constexpr ChannelControls MakeChannelControls() {
    ChannelControls controls{};
    for (int32_t third = 0; third < 3; ++third) {
        for (int32_t pixel = 0; pixel < 16; ++pixel) {
            controls.redGreen[third][pixel] = ChannelByte(pixel, 0, third);
            controls.redGreen[third][16 + pixel] = ChannelByte(pixel, 1, third);
            controls.blue[third][pixel] = ChannelByte(pixel, 2, third);
        }
    }
    return controls;
}

constexpr ChannelControls kChannelControls = MakeChannelControls();

// Each pixel row is four bytes of a channel; these keep columns 0 and 1.
constexpr int32_t kLeftColumns = 0x0000FFFF;

}  // namespace

BWVOQ_AVX2 void SumBlockHalvesAvx2(const uint8_t* block, int32_t sums[kBlockHalves][3]) {
    __m128i thirds[3];
    for (int32_t third = 0; third < 3; ++third) {
        thirds[third] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * third));
    }
    __m256i redGreen = _mm256_setzero_si256();
    __m128i blue = _mm_setzero_si128();
    for (int32_t third = 0; third < 3; ++third) {
        const __m256i both = _mm256_broadcastsi128_si256(thirds[third]);
        const __m256i control = _mm256_load_si256(reinterpret_cast<const __m256i*>(kChannelControls.redGreen[third]));
        redGreen = _mm256_or_si256(redGreen, _mm256_shuffle_epi8(both, control));
        const __m128i blueControl = _mm_load_si128(reinterpret_cast<const __m128i*>(kChannelControls.blue[third]));
        blue = _mm_or_si128(blue, _mm_shuffle_epi8(thirds[third], blueControl));
    }
    // Byte sums of rows 0-1 and rows 2-3 of each channel, and of their left columns.
    alignas(32) int64_t rows[6];
    alignas(32) int64_t left[6];
    const __m256i zero = _mm256_setzero_si256();
    const __m256i leftColumns = _mm256_set1_epi32(kLeftColumns);
    _mm256_store_si256(reinterpret_cast<__m256i*>(rows), _mm256_sad_epu8(redGreen, zero));
    _mm256_store_si256(reinterpret_cast<__m256i*>(left), _mm256_sad_epu8(_mm256_and_si256(redGreen, leftColumns), zero));
    _mm_store_si128(reinterpret_cast<__m128i*>(rows + 4), _mm_sad_epu8(blue, _mm_setzero_si128()));
    _mm_store_si128(reinterpret_cast<__m128i*>(left + 4),
                    _mm_sad_epu8(_mm_and_si128(blue, _mm256_castsi256_si128(leftColumns)), _mm_setzero_si128()));
    for (int32_t c = 0; c < 3; ++c) {
        const auto top = static_cast<int32_t>(rows[2 * c]);
        const auto bottom = static_cast<int32_t>(rows[2 * c + 1]);
        const auto leftHalf = static_cast<int32_t>(left[2 * c] + left[2 * c + 1]);
        sums[0][c] = leftHalf;
        sums[1][c] = top + bottom - leftHalf;
        sums[2][c] = top;
        sums[3][c] = bottom;
    }
}

#else

void SumBlockHalvesAvx2(const uint8_t* block, int32_t sums[kBlockHalves][3]) { SumBlockHalvesPortable(block, sums); }

#endif

}  // namespace ETC1Encoder
