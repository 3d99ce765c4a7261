// Decoding whole ETC1 and ETC1_A4 levels: a portable path and an AVX2 path
// that gives the same bytes; DecodeLevelETC1 and DecodeLevelETC1A4 pick one.
#pragma once

#include <cstdint>

namespace ImageLib::Etc1LevelDecoding {

// Both decode a level of whole 8x8 tiles (the caller checks) into RGB pixels,
// or RGBA when `withAlpha` (ETC1_A4 blocks).
void DecodePortable(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, bool withAlpha);
void DecodeAvx2(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, bool withAlpha);

// True when this processor runs DecodeAvx2.
bool HasAvx2();

}  // namespace ImageLib::Etc1LevelDecoding
