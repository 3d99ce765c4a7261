#include "etc1/ETC1BlockDecoder.h"

#include "etc1/ETC1ModifierTable.h"

namespace {

// Modifier of each two-bit pixel index for every codeword: +a, +b, -a, -b.
struct IndexModifiers {
    int32_t value[8][4];
};

constexpr IndexModifiers MakeIndexModifiers() {
    IndexModifiers table{};
    for (int32_t codeword = 0; codeword < 8; ++codeword) {
        for (int32_t slot = 0; slot < 4; ++slot) {
            table.value[codeword][kSlotToPixelIndex[slot]] = kETC1Modifiers[codeword][slot];
        }
    }
    return table;
}

constexpr IndexModifiers kIndexModifiers = MakeIndexModifiers();

int32_t Expand5(int32_t v) { return (v << 3) | (v >> 2); }

int32_t ClampTo(int32_t value, int32_t low, int32_t high) { return value < low ? low : (value > high ? high : value); }

// The 5-bit field at `shift` plus the signed 3-bit difference below it.
int32_t DifferentialSecond(uint32_t high, int32_t shift) {
    int32_t first = static_cast<int32_t>((high >> shift) & 31u);
    int32_t delta = static_cast<int32_t>((high >> (shift - 3)) & 7u);
    if (delta >= 4) delta -= 8;
    return ClampTo(first + delta, 0, 31);
}

struct BaseColours {
    int32_t colour[2][3];  // sub-block 1, sub-block 2
};

BaseColours DecodeBaseColours(uint32_t high) {
    BaseColours bases;
    constexpr int32_t kShift[3] = {24, 16, 8};  // R, G, B fields
    for (int32_t channel = 0; channel < 3; ++channel) {
        int32_t shift = kShift[channel];
        if ((high & 2u) != 0) {
            bases.colour[0][channel] = Expand5(static_cast<int32_t>((high >> (shift + 3)) & 31u));
            bases.colour[1][channel] = Expand5(DifferentialSecond(high, shift + 3));
        } else {
            bases.colour[0][channel] = 17 * static_cast<int32_t>((high >> (shift + 4)) & 15u);
            bases.colour[1][channel] = 17 * static_cast<int32_t>((high >> shift) & 15u);
        }
    }
    return bases;
}

}  // namespace

void DecodeETC1Block(uint32_t high, uint32_t low, uint8_t* pixels) {
    const BaseColours bases = DecodeBaseColours(high);
    const bool flipped = (high & 1u) != 0;
    const int32_t codeword[2] = {static_cast<int32_t>((high >> 5) & 7u), static_cast<int32_t>((high >> 2) & 7u)};
    // The four colours each sub-block can take, by pixel index.
    uint8_t palette[2][4][3];
    for (int32_t half = 0; half < 2; ++half) {
        for (uint32_t index = 0; index < 4; ++index) {
            int32_t modifier = kIndexModifiers.value[codeword[half]][index];
            for (int32_t channel = 0; channel < 3; ++channel) {
                palette[half][index][channel] =
                    static_cast<uint8_t>(ClampTo(bases.colour[half][channel] + modifier, 0, 255));
            }
        }
    }
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            int32_t half = (flipped ? y : x) >= 2 ? 1 : 0;
            int32_t bit = 4 * x + y;
            uint32_t index = (((low >> (16 + bit)) & 1u) << 1) | ((low >> bit) & 1u);
            const uint8_t* colour = palette[half][index];
            uint8_t* pixel = pixels + 3 * (4 * y + x);
            pixel[0] = colour[0];
            pixel[1] = colour[1];
            pixel[2] = colour[2];
        }
    }
}
