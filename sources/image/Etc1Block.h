// ETC1Block: one ETC1 colour block exactly as texture data stores it, the
// block's 64-bit value little-endian (ETC1BlockFormat.h lays out its fields).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "image/ETC1BlockFormat.h"

namespace ImageLib {

struct ETC1Block {
    std::array<uint8_t, 8> bytes{};

    // The 3-bit deltas of differential mode, -4 to 3.
    int32_t DeltaRed() const { return ETC1Format::Delta(bytes[7]); }
    int32_t DeltaGreen() const { return ETC1Format::Delta(bytes[6]); }
    int32_t DeltaBlue() const { return ETC1Format::Delta(bytes[5]); }

    // Writes the 16 pixels as RGB (alpha null) or RGBA into a width x height
    // image whose pixel (x, y) is the block's top-left; pixels outside the image
    // are skipped. `alpha` is 8 bytes: the 4-bit alpha of pixel p in bits 4p to
    // 4p + 3 of their little-endian 64-bit value, expanded times 17.
    void Decode(uint8_t* destination, int32_t width, int32_t height, int32_t x, int32_t y,
                const uint8_t* alpha) const;

    // The same for a block that lies wholly inside the image: `topLeft` is its
    // top-left pixel and `stride` the bytes of one image row.
    void DecodeInside(uint8_t* topLeft, size_t stride, const uint8_t* alpha) const;
};

}  // namespace ImageLib
