// RLE decoding of TGA pixel data.
#include <cstring>

#include "image/FileHelpers.h"
#include "image/ImageTGA.h"

namespace ImageLib {
namespace {

constexpr uint8_t kRunPacketBit = 0x80;

// Expands packets until the output is full; false when the input ends first or
// a packet would overfill the output. Input after the last needed packet is ignored.
bool ExpandPackets(const uint8_t* input, int64_t inputSize, uint8_t* output, int64_t outputSize, int64_t pixelSize) {
    int64_t in = 0;
    int64_t out = 0;
    while (out < outputSize) {
        if (in >= inputSize) return false;
        uint8_t packet = input[in++];
        int64_t count = (packet & ~kRunPacketBit) + 1;
        int64_t bytes = count * pixelSize;
        if (bytes > outputSize - out) return false;
        if (packet & kRunPacketBit) {
            if (pixelSize > inputSize - in) return false;
            for (int64_t i = 0; i < count; ++i) std::memcpy(output + out + i * pixelSize, input + in, pixelSize);
            in += pixelSize;
        } else {
            if (bytes > inputSize - in) return false;
            std::memcpy(output + out, input + in, bytes);
            in += bytes;
        }
        out += bytes;
    }
    return true;
}

}  // namespace

bool CImageTGA::DecodeRle(Platform::FileHandle file, uint8_t* output, int32_t expectedSize) const {
    if (output == nullptr) return false;
    int32_t inputSize = 0;
    ByteBuffer input = ReadRemaining(file, inputSize);
    if (!input) return false;
    return ExpandPackets(input.get(), inputSize, output, expectedSize, header.pixelDepth / 8);
}

}  // namespace ImageLib
