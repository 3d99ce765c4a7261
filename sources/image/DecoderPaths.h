// Level decoders that have two ways to the same bytes: portable code, and AVX2
// code for processors that have it. The decoders of TextureCodecs.h pick one
// by the processor; the tests run both. Each takes only levels of whole 8x8
// tiles: the caller checks.
#pragma once

#include <cstdint>

namespace ImageLib {

using LevelDecoder = void (*)(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);

// Runs `avx2` when the processor has AVX2, else `portable`; nothing for a
// level that is not whole tiles.
void DecodeByProcessor(LevelDecoder portable, LevelDecoder avx2, const uint8_t* source, uint8_t* destination,
                       int32_t width, int32_t height);

namespace Portable {
void DecodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
}  // namespace Portable

namespace Avx2 {
// True when this processor runs the functions below.
bool Supported();
void DecodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
}  // namespace Avx2

}  // namespace ImageLib
