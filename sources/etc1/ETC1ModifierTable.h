// The intensity modifier table of the ETC1 format and the slot-to-index map.
//
// Row i is table codeword i; each row holds its pair (a, b) in the order
// -b, -a, +a, +b, so a value's position in its row (its slot) grows with the
// modifier. The block compressors read ETC1ModifierTable; the fast searches and
// the decoder use the constant copy, which holds the same values.
#pragma once

#include <cstdint>

inline constexpr int32_t kETC1Modifiers[8][4] = {
    {-8, -2, 2, 8},     {-17, -5, 5, 17},   {-29, -9, 9, 29},     {-42, -13, 13, 42},
    {-60, -18, 18, 60}, {-80, -24, 24, 80}, {-106, -33, 33, 106}, {-183, -47, 47, 183},
};

// The two-bit pixel index that stands for each slot: -b 3, -a 2, +a 0, +b 1.
inline constexpr uint32_t kSlotToPixelIndex[4] = {3, 2, 0, 1};

extern int32_t ETC1ModifierTable[8][4];

// Fills ETC1ModifierTable (always with the same values).
void InitETC1ModifierTable();
