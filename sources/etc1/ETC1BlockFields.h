// The fields of an ETC1 block's high word: base colours and index modifiers.
#pragma once

#include <cstdint>

#include "etc1/ETC1ModifierTable.h"

namespace ETC1BlockFields {

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

inline constexpr IndexModifiers kIndexModifiers = MakeIndexModifiers();

inline int32_t ClampTo(int32_t value, int32_t low, int32_t high) {
    return value < low ? low : (value > high ? high : value);
}

inline int32_t Expand5(int32_t v) { return (v << 3) | (v >> 2); }

// The 5-bit field at `shift` plus the signed 3-bit difference below it; sums
// outside 0..31, which the encoder never produces, are clamped.
inline int32_t DifferentialSecond(uint32_t high, int32_t shift) {
    int32_t first = static_cast<int32_t>((high >> shift) & 31u);
    int32_t delta = static_cast<int32_t>((high >> (shift - 3)) & 7u);
    if (delta >= 4) delta -= 8;
    return ClampTo(first + delta, 0, 31);
}

struct BaseColours {
    int32_t colour[2][3];  // sub-block 1, sub-block 2; R, G, B
};

inline BaseColours DecodeBaseColours(uint32_t high) {
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

inline int32_t Codeword(uint32_t high, int32_t half) {
    return static_cast<int32_t>((high >> (half == 0 ? 5 : 2)) & 7u);
}

}  // namespace ETC1BlockFields
