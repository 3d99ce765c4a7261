// What the save-options dialog offers and shows, apart from any window: the
// entries of its three drop-down lists, the format it proposes for a document,
// and the size and zoom texts.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace FormatPlugin {

// Drop-down 1003: the ETC1 method; an entry's index is its EtcQuality.
inline constexpr std::array<const char*, ImageLib::kEtcQualityCount> kEtcMethodEntries = {
    "Fast", "Medium", "Slow", "Fast Perceptual", "Medium Perceptual", "Slow Perceptual",
};

// Drop-down 1004: the colour correction; an entry's index is its ColorCorrection.
// The inverse curves are not offered.
inline constexpr std::array<const char*, 4> kColorCorrectionEntries = {
    "None", "VOQ Top", "VOQ Btm", "VOQ Avg",
};

// The texture format proposed for a document of the given ImageFormat.
int32_t ProposedTextureFormat(int32_t imageFormat);

// The most mip levels the level list offers for a document of this size.
int32_t MaxListedMipLevels(int32_t width, int32_t height);

// Drop-down 1002: "ALL", then the level counts from maxLevels down to 2.
std::vector<std::string> MipLevelEntries(int32_t maxLevels);
// The mipLevels value of an entry of that list: 0 for "ALL".
int32_t MipLevelsOfEntry(int32_t maxLevels, int32_t index);
// The entry that shows mipLevels: the count's own entry when the list holds it, else "ALL".
int32_t EntryOfMipLevels(int32_t maxLevels, int32_t mipLevels);

// Bytes of the texture data that the options make of the document.
int32_t TextureDataSizeOf(const ImageLib::CImage& document, const ImageLib::ImageOptions& options);
// "1023 byte", "1.0 KB (1024 byte)", "1.5 MB (1572864 byte)".
std::string SizeText(int32_t size);
// "100 %", "200 %", ...
std::string ZoomText(int32_t zoom);

}  // namespace FormatPlugin
