// ETC1 and ETC1_A4 levels: handing a level to the ETC1 encoder, and decoding.
//
// A level holds 4x4 blocks, four to a tile in the order top-left, top-right,
// bottom-left, bottom-right; ETC1 stores 8 bytes per block, ETC1_A4 16 (the
// alpha, then the colour block).
#include <cstring>

#include "image/DecoderPaths.h"
#include "image/Etc1Block.h"
#include "image/TextureCodecs.h"
#include "image/TextureTiles.h"

namespace ImageLib {
namespace {

void DecodePortable(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, bool withAlpha) {
    const size_t pixelBytes = withAlpha ? 4 : 3;
    const size_t stride = static_cast<size_t>(width) * pixelBytes;
    for (int32_t tileY = 0; tileY < height; tileY += kTileSide) {
        for (int32_t tileX = 0; tileX < width; tileX += kTileSide) {
            for (int32_t q = 0; q < 4; ++q) {
                const uint8_t* alpha = withAlpha ? source : nullptr;
                if (withAlpha) source += 8;
                ETC1Block block;
                std::memcpy(block.bytes.data(), source, 8);
                source += 8;
                size_t x = static_cast<size_t>(tileX + 4 * (q & 1));
                size_t y = static_cast<size_t>(tileY + 4 * (q >> 1));
                block.DecodeInside(destination + y * stride + x * pixelBytes, stride, alpha);
            }
        }
    }
}

}  // namespace

void Portable::DecodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePortable(source, destination, width, height, false);
}

void Portable::DecodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodePortable(source, destination, width, height, true);
}

void EncodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t quality,
                     EtcEncoderFunc encoder) {
    if (encoder != nullptr) encoder(source, destination, width, height, ETC1, quality);
}

void EncodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t quality,
                       EtcEncoderFunc encoder) {
    if (encoder != nullptr) encoder(source, destination, width, height, ETC1_A4, quality);
}

void DecodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeByProcessor(Portable::DecodeLevelETC1, Avx2::DecodeLevelETC1, source, destination, width, height);
}

void DecodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height) {
    DecodeByProcessor(Portable::DecodeLevelETC1A4, Avx2::DecodeLevelETC1A4, source, destination, width, height);
}

}  // namespace ImageLib
