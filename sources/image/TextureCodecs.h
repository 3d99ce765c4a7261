// Level encoders and decoders of the fourteen texture formats.
//
// An encoder turns one mip level of RGBA8 pixels (width x height x 4 bytes, rows
// top-down) into that level's texture data, writing exactly GetTextureDataSize
// (width, height, 1, format) bytes. A decoder turns one level of texture data
// back into width x height pixels of GetImageFormatOf(format), rows top-down,
// writing every pixel. Quantisation truncates; expansion of an n-bit value is
// v * 255 / (2^n - 1), truncated.
//
// Both trust the caller for buffer sizes and handle only levels of whole 8x8
// tiles: for any other size they write nothing.
#pragma once

#include <cstdint>

#include "image/ImageOptions.h"

namespace ImageLib {

void EncodeLevelL4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelL8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelLA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelLA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelHILO8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelRGB8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void EncodeLevelRGBA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);

// Hand the level to `encoder` with format 12 (ETC1) or 13 (ETC1_A4) and the
// quality, ignoring its result; with a null encoder they write nothing.
void EncodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t quality,
                     EtcEncoderFunc encoder);
void EncodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t quality,
                       EtcEncoderFunc encoder);

// The encoder of a format 0 to 11; null for the ETC1 formats and any other value.
using LevelEncoder = void (*)(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
LevelEncoder GetLevelEncoder(int32_t format);

void DecodeLevelL4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelL8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelLA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelLA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelHILO8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGB565(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGB8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGB5A1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGBA4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelRGBA8(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelETC1(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);
void DecodeLevelETC1A4(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);

// Runs the decoder of the format; any value outside 0 to 13 does nothing.
void DecodeTexture(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height);

}  // namespace ImageLib
