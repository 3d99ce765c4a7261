// Test support: an image with the make-up of a photograph (smooth gradients,
// edges and a little grain), so that its blocks differ from one another.
#pragma once

#include <cstdint>
#include <vector>

namespace TestSupport {

// width x height RGBA pixels, rows top-down; alpha varies too.
inline std::vector<uint8_t> PhotoLikeRgba(int32_t width, int32_t height, uint32_t seed = 1) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    uint32_t grain = seed * 2654435761u + 12345u;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            grain = grain * 1664525u + 1013904223u;
            int32_t noise = static_cast<int32_t>(grain >> 28) - 8;
            bool edge = (x / 8 + y / 12) % 3 == 0;
            uint8_t* pixel = &rgba[4 * (static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x))];
            auto clamp = [](int32_t v) { return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
            pixel[0] = clamp((x * 255) / width + noise + (edge ? 40 : 0));
            pixel[1] = clamp((y * 255) / height - noise);
            pixel[2] = clamp(((x + y) * 127) / (width + height) + 2 * noise + (edge ? -30 : 60));
            pixel[3] = clamp(255 - x - noise);
        }
    }
    return rgba;
}

}  // namespace TestSupport
