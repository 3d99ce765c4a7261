// Inputs shared by the texture tests: seeded random bytes, mip options and
// format names for test case names.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "image/ImageOptions.h"
#include "image/TextureFormat.h"

// The texture format's name, or "Format<n>" ("FormatMinus<n>") for a value without one.
inline std::string TextureFormatLabel(int32_t format) {
    const char* name = ImageLib::GetTextureFormatName(format);
    return name != nullptr ? name : (format < 0 ? "FormatMinus" : "Format") + std::to_string(format < 0 ? -format : format);
}

inline std::vector<uint8_t> RandomBytes(size_t count, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    return bytes;
}

inline ImageLib::ImageOptions MipOptions(int32_t format, int32_t mode, int32_t levels = 0) {
    ImageLib::ImageOptions options;
    options.format = format;
    options.mipMode = mode;
    options.mipLevels = levels;
    return options;
}
