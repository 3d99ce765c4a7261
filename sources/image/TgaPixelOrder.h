// The channel order of pixels stored in TGA files.
#pragma once

#include <cstdint>

namespace ImageLib {

// Copies one pixel of 1 to 4 bytes in TGA channel order: 2 bytes swapped, 3
// bytes reversed (R, G, B become B, G, R), 4 bytes with the first three reversed
// and the fourth kept (B, G, R, A). Returns the position just past the bytes written.
inline uint8_t* StoreTgaPixel(const uint8_t* pixel, uint8_t* destination, int32_t bytesPerPixel) {
    switch (bytesPerPixel) {
        case 1: *destination++ = pixel[0]; break;
        case 2: *destination++ = pixel[1], *destination++ = pixel[0]; break;
        case 3: *destination++ = pixel[2], *destination++ = pixel[1], *destination++ = pixel[0]; break;
        case 4:
            *destination++ = pixel[2], *destination++ = pixel[1], *destination++ = pixel[0];
            *destination++ = pixel[3];
            break;
        default: break;
    }
    return destination;
}

}  // namespace ImageLib
