#include "etc1/ETC1BlockDecoder.h"

#include "etc1/CpuFeatures.h"
#include "etc1/ETC1BlockDecoderVariants.h"
#include "etc1/ETC1BlockFields.h"

void DecodeETC1BlockPortable(uint32_t high, uint32_t low, uint8_t* pixels) {
    using namespace ETC1BlockFields;
    const BaseColours bases = DecodeBaseColours(high);
    const bool flipped = (high & 1u) != 0;
    // The four colours each sub-block can take, by pixel index.
    uint8_t palette[2][4][3];
    for (int32_t half = 0; half < 2; ++half) {
        for (uint32_t index = 0; index < 4; ++index) {
            int32_t modifier = kIndexModifiers.value[Codeword(high, half)][index];
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

void DecodeETC1Block(uint32_t high, uint32_t low, uint8_t* pixels) {
    if (CpuHasAvx2()) {
        DecodeETC1BlockAvx2(high, low, pixels);
    } else {
        DecodeETC1BlockPortable(high, low, pixels);
    }
}
