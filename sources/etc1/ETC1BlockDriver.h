// The ETC1 block driver: cuts one level into 4x4 blocks, takes each from the
// result cache or compresses it (on a worker or in place) with the method's
// compressor, reports progress, and writes the level's texture data in tile order.
#pragma once

#include <cstdint>

namespace ETC1Encoder {

// `source` holds width x height RGBA pixels, rows top-down. `channels` is 4 for
// ETC1_A4 (alpha packed beside every block: width x height bytes written) and 3
// for ETC1 (width x height / 2 bytes). Width and height must be positive
// multiples of 8; anything else is a programming error and aborts. An unknown
// method, or running out of memory, ends the process with exit code 3.
void CompressETC1Blocks(const uint8_t* source, int32_t channels, uint8_t* destination, int32_t width, int32_t height,
                        int32_t method);

}  // namespace ETC1Encoder
