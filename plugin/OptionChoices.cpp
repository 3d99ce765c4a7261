#include "plugin/OptionChoices.h"

#include <cstdio>

#include "image/MipChain.h"
#include "image/TextureFormat.h"

namespace FormatPlugin {

using namespace ImageLib;

int32_t ProposedTextureFormat(int32_t imageFormat) {
    switch (imageFormat) {
        case L: return L8;
        case LA: return LA8;
        case RGBA: return RGBA8;
        default: return RGB8;
    }
}

int32_t MaxListedMipLevels(int32_t width, int32_t height) {
    // The list is the same for every format: it is counted for the smallest minimum side.
    return GetMaxMipLevels(width, height, ETC1_A4, GenerateMipMap);
}

std::vector<std::string> MipLevelEntries(int32_t maxLevels) {
    std::vector<std::string> entries{"ALL"};
    for (int32_t n = maxLevels; n >= 2; --n) entries.push_back(std::to_string(n));
    return entries;
}

int32_t MipLevelsOfEntry(int32_t maxLevels, int32_t index) {
    return index <= 0 ? 0 : maxLevels - index + 1;
}

int32_t EntryOfMipLevels(int32_t maxLevels, int32_t mipLevels) {
    return mipLevels >= 2 && mipLevels <= maxLevels ? maxLevels - mipLevels + 1 : 0;
}

int32_t TextureDataSizeOf(const CImage& document, const ImageOptions& options) {
    const int32_t width = GetPaddedWidth(document.width, options.format, options.mipMode);
    const int32_t height = GetPaddedHeight(document.height, options.format);
    const int32_t levels = GetMipLevelCount(width, height, options.format, options.mipMode, options.mipLevels);
    return GetTextureDataSize(width, height, levels, options.format);
}

std::string SizeText(int32_t size) {
    // The fractions are taken in single precision, as the texts have always shown them.
    char text[512];
    if (size < 1024) {
        std::snprintf(text, sizeof text, "%d byte", size);
    } else if (size < 1048576) {
        std::snprintf(text, sizeof text, "%.1f KB (%d byte)",
                      static_cast<double>(static_cast<float>(size) * (1.0f / 1024.0f)), size);
    } else {
        std::snprintf(text, sizeof text, "%.1f MB (%d byte)",
                      static_cast<double>(static_cast<float>(size) * (1.0f / 1048576.0f)), size);
    }
    return text;
}

std::string ZoomText(int32_t zoom) {
    char text[32];
    std::snprintf(text, sizeof text, "%d %%", zoom * 100);
    return text;
}

}  // namespace FormatPlugin
