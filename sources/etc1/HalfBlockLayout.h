// Where the eight pixels of a half lie in the 48-byte RGB block, in the order in
// which the searches visit them, and where each pixel's index bit goes in the
// half-relative planes.
#pragma once

#include <cstdint>

struct HalfBlockLayout {
    uint8_t offset[8];  // byte offset of the i-th visited pixel
    uint8_t bit[8];     // its bit in the returned planes
};

namespace HalfBlockLayouts {

// A tall half at first column c visits column c rows 0..3, then column c + 1.
constexpr HalfBlockLayout Tall(int32_t column) {
    HalfBlockLayout layout{};
    for (int32_t i = 0; i < 8; ++i) {
        int32_t x = column + i / 4;
        int32_t y = i % 4;
        layout.offset[i] = static_cast<uint8_t>(3 * (4 * y + x));
        layout.bit[i] = static_cast<uint8_t>(i);
    }
    return layout;
}

// A wide half at first row r visits column 0 rows r, r + 1, then columns 1, 2, 3.
constexpr HalfBlockLayout Wide(int32_t firstRow) {
    HalfBlockLayout layout{};
    for (int32_t i = 0; i < 8; ++i) {
        int32_t x = i / 2;
        int32_t y = firstRow + i % 2;
        layout.offset[i] = static_cast<uint8_t>(3 * (4 * y + x));
        layout.bit[i] = static_cast<uint8_t>(4 * (i / 2) + i % 2);
    }
    return layout;
}

inline constexpr HalfBlockLayout kTall[2] = {Tall(0), Tall(2)};
inline constexpr HalfBlockLayout kWide[2] = {Wide(0), Wide(2)};

// The layout of the half at first column or row 0 or 2.
inline const HalfBlockLayout& TallAt(int32_t column) { return kTall[(column >> 1) & 1]; }
inline const HalfBlockLayout& WideAt(int32_t firstRow) { return kWide[(firstRow >> 1) & 1]; }

}  // namespace HalfBlockLayouts
