// The ETC1 block decoder: a portable kernel and an AVX2 one that gives the same
// bytes, picked by the processor.
#include "image/ETC1BlockFormat.h"

#include <algorithm>
#include <array>

#include "platform/ProcessorFeatures.h"

#if BWVOQ_X86_KERNELS
#include <immintrin.h>
#endif

namespace ImageLib::ETC1Format {
namespace {

// Modifier of each two-bit pixel index for every codeword: +a, +b, -a, -b.
struct IndexModifiers {
    int32_t value[8][4];
};

constexpr IndexModifiers MakeIndexModifiers() {
    IndexModifiers table{};
    for (int32_t codeword = 0; codeword < 8; ++codeword) {
        for (uint32_t index = 0; index < 4; ++index) table.value[codeword][index] = IndexModifier(codeword, index);
    }
    return table;
}

constexpr IndexModifiers kIndexModifiers = MakeIndexModifiers();

struct BaseColours {
    int32_t colour[2][3];  // sub-block 1, sub-block 2; R, G, B
};

// BaseChannel of every channel byte, individual mode first.
using BaseChannelTable = std::array<std::array<std::array<uint8_t, 2>, 256>, 2>;

constexpr BaseChannelTable MakeBaseChannels() {
    BaseChannelTable table{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        table[0][byte] = BaseChannel(byte, false);
        table[1][byte] = BaseChannel(byte, true);
    }
    return table;
}

constexpr BaseChannelTable kBaseChannels = MakeBaseChannels();

BaseColours DecodeBaseColours(uint32_t high) {
    BaseColours bases;
    const auto& channels = kBaseChannels[(high & kDiffBit) != 0 ? 1 : 0];
    for (int32_t channel = 0; channel < 3; ++channel) {
        const std::array<uint8_t, 2>& base = channels[(high >> kChannelShift[channel]) & 0xFFu];
        bases.colour[0][channel] = base[0];
        bases.colour[1][channel] = base[1];
    }
    return bases;
}

int32_t Codeword(uint32_t high, int32_t subBlock) {
    const int32_t shift = subBlock == 0 ? kCodeword1Shift : kCodeword2Shift;
    return static_cast<int32_t>((high >> shift) & FieldMask(kCodewordBits));
}

#if BWVOQ_X86_KERNELS

// For a plane byte holding the bits of columns 0 and 1 (bit 4x + y), a byte of
// value 1 at 4y + x for every set bit; columns 2 and 3 are the same two bytes on.
constexpr std::array<std::array<uint8_t, 16>, 256> MakeTranspose() {
    std::array<std::array<uint8_t, 16>, 256> table{};
    for (int32_t bits = 0; bits < 256; ++bits) {
        for (int32_t bit = 0; bit < 8; ++bit) {
            if (((bits >> bit) & 1) != 0) table[bits][4 * (bit % 4) + bit / 4] = 1;
        }
    }
    return table;
}

alignas(16) constexpr std::array<std::array<uint8_t, 16>, 256> kTranspose = MakeTranspose();

// The palette entries of sub-block 2 start at 4: columns 2 and 3, or rows 2 and 3.
alignas(16) constexpr uint8_t kSecondHalf[2][16] = {{0, 0, 4, 4, 0, 0, 4, 4, 0, 0, 4, 4, 0, 0, 4, 4},
                                                    {0, 0, 0, 0, 0, 0, 0, 0, 4, 4, 4, 4, 4, 4, 4, 4}};

// Controls that interleave 16 R, 16 G and 16 B bytes into three 16-byte thirds of RGB.
struct Interleave {
    alignas(16) uint8_t control[3][3][16];  // third, channel
};

constexpr Interleave MakeInterleave() {
    Interleave interleave{};
    for (int32_t third = 0; third < 3; ++third) {
        for (int32_t channel = 0; channel < 3; ++channel) {
            for (int32_t j = 0; j < 16; ++j) {
                int32_t byte = 16 * third + j;
                interleave.control[third][channel][j] = byte % 3 == channel ? static_cast<uint8_t>(byte / 3) : 0x80;
            }
        }
    }
    return interleave;
}

constexpr Interleave kInterleave = MakeInterleave();

BWVOQ_AVX2 inline __m128i Load16(const uint8_t* bytes) {
    return _mm_load_si128(reinterpret_cast<const __m128i*>(bytes));
}

// One byte a pixel (row-major) with that pixel's bit of a 16-bit plane.
BWVOQ_AVX2 inline __m128i PlaneBytes(uint32_t plane) {
    __m128i left = Load16(kTranspose[plane & 0xFFu].data());
    __m128i right = Load16(kTranspose[(plane >> 8) & 0xFFu].data());
    return _mm_or_si128(left, _mm_slli_si128(right, 2));
}

#endif

}  // namespace

void DecodeBlockPortable(uint32_t high, uint32_t low, uint8_t* pixels) {
    const BaseColours bases = DecodeBaseColours(high);
    const bool flipped = (high & kFlipBit) != 0;
    // The four colours each sub-block can take, by pixel index.
    uint8_t palette[2][4][3];
    for (int32_t half = 0; half < 2; ++half) {
        for (uint32_t index = 0; index < 4; ++index) {
            int32_t modifier = kIndexModifiers.value[Codeword(high, half)][index];
            for (int32_t channel = 0; channel < 3; ++channel) {
                palette[half][index][channel] = static_cast<uint8_t>(std::clamp(bases.colour[half][channel] + modifier, 0, 255));
            }
        }
    }
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            int32_t half = (flipped ? y : x) >= 2 ? 1 : 0;
            int32_t bit = PixelBit(x, y);
            uint32_t index = (((low >> (kMsbPlaneShift + bit)) & 1u) << 1) | ((low >> bit) & 1u);
            const uint8_t* colour = palette[half][index];
            uint8_t* pixel = pixels + 3 * (4 * y + x);
            pixel[0] = colour[0];
            pixel[1] = colour[1];
            pixel[2] = colour[2];
        }
    }
}

#if BWVOQ_X86_KERNELS

// With byte shuffles: the two sub-blocks' eight possible colours form a
// palette; every pixel's palette entry (sub-block x 4 + index) comes from the
// index planes through a bit-transpose table; the entries pick the R, G and B
// bytes, which are then interleaved into the RGB block.
BWVOQ_AVX2 void DecodeBlockAvx2(uint32_t high, uint32_t low, uint8_t* pixels) {
    const BaseColours bases = DecodeBaseColours(high);
    const int32_t* first = kIndexModifiers.value[Codeword(high, 0)];
    const int32_t* second = kIndexModifiers.value[Codeword(high, 1)];
    const __m128i modifiers =
        _mm_setr_epi16(static_cast<int16_t>(first[0]), static_cast<int16_t>(first[1]), static_cast<int16_t>(first[2]),
                       static_cast<int16_t>(first[3]), static_cast<int16_t>(second[0]), static_cast<int16_t>(second[1]),
                       static_cast<int16_t>(second[2]), static_cast<int16_t>(second[3]));
    __m128i palette[3];  // bytes 0..7 of each: entries sub-block x 4 + index, clamped by the saturating pack
    for (int32_t c = 0; c < 3; ++c) {
        __m128i bases16 = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<int16_t>(bases.colour[0][c])),
                                             _mm_set1_epi16(static_cast<int16_t>(bases.colour[1][c])));
        palette[c] = _mm_packus_epi16(_mm_add_epi16(bases16, modifiers), _mm_setzero_si128());
    }
    __m128i msb = PlaneBytes(low >> kMsbPlaneShift);
    __m128i lsb = PlaneBytes(low);
    __m128i entries = _mm_add_epi8(_mm_add_epi8(_mm_add_epi8(msb, msb), lsb), Load16(kSecondHalf[high & kFlipBit]));
    __m128i channel[3];
    for (int32_t c = 0; c < 3; ++c) channel[c] = _mm_shuffle_epi8(palette[c], entries);
    for (int32_t third = 0; third < 3; ++third) {
        __m128i out = _mm_shuffle_epi8(channel[0], Load16(kInterleave.control[third][0]));
        out = _mm_or_si128(out, _mm_shuffle_epi8(channel[1], Load16(kInterleave.control[third][1])));
        out = _mm_or_si128(out, _mm_shuffle_epi8(channel[2], Load16(kInterleave.control[third][2])));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixels + 16 * third), out);
    }
}

#else

void DecodeBlockAvx2(uint32_t high, uint32_t low, uint8_t* pixels) { DecodeBlockPortable(high, low, pixels); }

#endif

}  // namespace ImageLib::ETC1Format

namespace ImageLib {

void DecodeETC1Block(uint32_t high, uint32_t low, uint8_t* pixels) {
    static const bool vectorised = Platform::ProcessorHasAvx2();
    if (vectorised) {
        ETC1Format::DecodeBlockAvx2(high, low, pixels);
    } else {
        ETC1Format::DecodeBlockPortable(high, low, pixels);
    }
}

}  // namespace ImageLib
