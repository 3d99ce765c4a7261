// ETC1 block decoding: individual and differential modes with the flip bit.
#include "image/Etc1Block.h"

#include <algorithm>

namespace ImageLib {
namespace {

uint8_t ClampToByte(int32_t v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

// What one block decodes to: the eight colours a pixel can take (sub-block 1
// then sub-block 2, each by index value 0 to 3) and each pixel's choice.
struct BlockColours {
    uint8_t rgb[8][3];
    uint32_t slotBit2;  // bit p set: pixel p is in sub-block 2
    uint32_t slotBit1;  // bit p: the pixel index's high bit
    uint32_t slotBit0;  // bit p: the pixel index's low bit

    int32_t Slot(int32_t p) const {
        return static_cast<int32_t>((slotBit2 >> p & 1) << 2 | (slotBit1 >> p & 1) << 1 | (slotBit0 >> p & 1));
    }
};

BlockColours Colours(const ETC1Block& block) {
    const uint8_t* b = block.bytes.data();
    const bool differential = (b[4] & 2) != 0;
    const std::array<uint8_t, 2> base[3] = {Etc1Rules::BaseChannel(b[7], differential),
                                            Etc1Rules::BaseChannel(b[6], differential),
                                            Etc1Rules::BaseChannel(b[5], differential)};
    const int32_t codewords[2] = {b[4] >> 5, (b[4] >> 2) & 7};
    BlockColours colours{};
    for (int32_t sub = 0; sub < 2; ++sub) {
        const int32_t* row = Etc1Rules::kModifiers[codewords[sub]];
        const int32_t modifiers[4] = {row[0], row[1], -row[0], -row[1]};
        for (int32_t index = 0; index < 4; ++index) {
            for (int32_t c = 0; c < 3; ++c) {
                colours.rgb[sub * 4 + index][c] = ClampToByte(base[c][sub] + modifiers[index]);
            }
        }
    }
    // Flip 0: sub-block 2 is the right half (pixels 8 to 15); flip 1: the
    // bottom half (y offset 2 or 3).
    colours.slotBit2 = (b[4] & 1) == 0 ? 0xFF00u : 0xCCCCu;
    colours.slotBit1 = static_cast<uint32_t>(b[2] | b[3] << 8);
    colours.slotBit0 = static_cast<uint32_t>(b[0] | b[1] << 8);
    return colours;
}

void WritePixel(const BlockColours& colours, int32_t p, const uint8_t* alpha, uint8_t* out) {
    const uint8_t* rgb = colours.rgb[colours.Slot(p)];
    out[0] = rgb[0];
    out[1] = rgb[1];
    out[2] = rgb[2];
    if (alpha != nullptr) out[3] = static_cast<uint8_t>(((alpha[p / 2] >> (4 * (p % 2))) & 0xF) * 17);
}

}  // namespace

void ETC1Block::Decode(uint8_t* destination, int32_t width, int32_t height, int32_t x, int32_t y,
                       const uint8_t* alpha) const {
    const BlockColours colours = Colours(*this);
    const int32_t step = alpha != nullptr ? 4 : 3;
    for (int32_t p = 0; p < 16; ++p) {
        int64_t px = static_cast<int64_t>(x) + p / 4;
        int64_t py = static_cast<int64_t>(y) + p % 4;
        if (px < 0 || px >= width || py < 0 || py >= height) continue;
        WritePixel(colours, p, alpha, destination + (py * width + px) * step);
    }
}

void ETC1Block::DecodeInside(uint8_t* topLeft, size_t stride, const uint8_t* alpha) const {
    const BlockColours colours = Colours(*this);
    const size_t step = alpha != nullptr ? 4 : 3;
    for (int32_t p = 0; p < 16; ++p) {
        uint8_t* out = topLeft + static_cast<size_t>(p % 4) * stride + static_cast<size_t>(p / 4) * step;
        WritePixel(colours, p, alpha, out);
    }
}

}  // namespace ImageLib
