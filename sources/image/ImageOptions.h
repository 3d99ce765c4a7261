// The conversion options record and its enumerations.
//
// One ImageOptions carries every conversion choice from where it is made (the
// converter's command line, the plug-in's dialog) to where it is used (the
// writers, texture encoding, colour correction, the ETC1 callback). It is passed
// by pointer to const; null means "no options". It does not own its strings.
#pragma once

#include <cstdint>

namespace ImageLib {

enum TextureFormat : int32_t {
    L4 = 0,
    L8 = 1,
    A4 = 2,
    A8 = 3,
    LA4 = 4,
    LA8 = 5,
    HILO8 = 6,
    RGB565 = 7,
    RGB8 = 8,
    RGB5_A1 = 9,
    RGBA4 = 10,
    RGBA8 = 11,
    ETC1 = 12,
    ETC1_A4 = 13,
    ETC1_AUTO = 14,  // command-line value only, resolved before anything is written
    INVALID = 15,    // 15 or more: no texture format requested
};
inline constexpr int32_t kTextureFormatCount = 14;

// The two formats that the ETC1 encoder produces (ETC1_AUTO becomes one of them).
constexpr bool IsETC1Format(int32_t format) { return format == ETC1 || format == ETC1_A4; }

enum EtcQuality : int32_t {
    Fast = 0,
    Medium = 1,
    Slow = 2,
    FastPerceptual = 3,
    MediumPerceptual = 4,
    SlowPerceptual = 5,
};
inline constexpr int32_t kEtcQualityCount = 6;

enum ColorCorrection : int32_t {
    NONE = 0,
    VOQ_TOP = 1,
    VOQ_BTM = 2,
    VOQ_AVG = 3,
    VOQ_INV_TOP = 4,
    VOQ_INV_BTM = 5,
    VOQ_INV_AVG = 6,
};
inline constexpr int32_t kColorCorrectionCount = 7;

enum MipMode : int32_t {
    NoMipMap = 0,
    GenerateMipMap = 1,
    UseMipMap = 2,
};

// Encodes one mip level of RGBA pixels (width x height x 4 bytes, rows top-down)
// into ETC1 (format 12, width*height/2 bytes) or ETC1_A4 (13, width*height bytes).
// Sides are multiples of 8. The result is not read by any caller.
using EtcEncoderFunc = int32_t (*)(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                                   int32_t format, int32_t quality);

struct ImageOptions {
    int32_t format = INVALID;          // TextureFormat
    int32_t mipMode = NoMipMap;        // MipMode
    int32_t mipLevels = 0;             // 0: as many as the size allows
    int32_t etcQuality = Fast;         // EtcQuality
    EtcEncoderFunc etcEncoder = nullptr;
    int32_t tgaCompression = 0;        // 1: RLE
    int32_t colorCorrection = NONE;    // ColorCorrection
    int32_t showProgress = 0;          // read by the converter alone
    const char* path = nullptr;        // FENK Path attribute; null writes an empty value
    const char* source = nullptr;      // FENK Source attribute; null writes an empty value
};

// "Fast", "Medium", ... by EtcQuality; null for values outside 0 to 5.
const char* GetEtcQualityName(int32_t quality);

}  // namespace ImageLib
