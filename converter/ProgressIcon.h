// "IDR_MAINFRAME": the converter's icon, a 16 x 16 texture tile of four
// colours over a progress strip, kept as a pixel table.
#pragma once

#include <array>
#include <cstdint>
#include <string>

inline constexpr int32_t kProgressIconSide = 16;

// One character a pixel, row by row from the top.
inline constexpr std::array<const char*, kProgressIconSide> kProgressIconRows = {
    "..kkkkkkkkkkkk..",  //
    ".kRRRRRRGGGGGGk.",  //
    "kRRRRRRRGGGGGGGk",  //
    "kRRRRRRRGGGGGGGk",  //
    "kRRRRRRRGGGGGGGk",  //
    "kRRRRRRRGGGGGGGk",  //
    "kRRRRRRRGGGGGGGk",  //
    "kBBBBBBBYYYYYYYk",  //
    "kBBBBBBBYYYYYYYk",  //
    "kBBBBBBBYYYYYYYk",  //
    "kBBBBBBBYYYYYYYk",  //
    "kBBBBBBBYYYYYYYk",  //
    "kkkkkkkkkkkkkkkk",  //
    "kWWWWWWWWW.....k",  //
    ".kWWWWWWWW....k.",  //
    "..kkkkkkkkkkkk..",  //
};

constexpr bool IconRowsAreSquare() {
    for (const char* row : kProgressIconRows) {
        if (std::char_traits<char>::length(row) != kProgressIconSide) return false;
    }
    return true;
}
static_assert(IconRowsAreSquare(), "every icon row holds one character a pixel");

// The colour of one table character as 0xAARRGGBB; '.' is transparent.
constexpr uint32_t ProgressIconColor(char c) {
    switch (c) {
        case 'k': return 0xFF202830;
        case 'R': return 0xFFD8402C;
        case 'G': return 0xFF3CA848;
        case 'B': return 0xFF2C64C8;
        case 'Y': return 0xFFF0C030;
        case 'W': return 0xFFF4F4F4;
        default: return 0x00000000;
    }
}

// The icon's pixels as 0xAARRGGBB, row by row from the top.
constexpr std::array<uint32_t, kProgressIconSide * kProgressIconSide> ProgressIconPixels() {
    std::array<uint32_t, kProgressIconSide * kProgressIconSide> pixels{};
    for (int32_t y = 0; y < kProgressIconSide; ++y) {
        for (int32_t x = 0; x < kProgressIconSide; ++x) {
            pixels[static_cast<size_t>(y * kProgressIconSide + x)] = ProgressIconColor(kProgressIconRows[y][x]);
        }
    }
    return pixels;
}
