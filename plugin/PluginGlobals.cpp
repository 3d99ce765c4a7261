#include "plugin/PluginGlobals.h"

namespace FormatPlugin {
namespace {

// The most levels a generated chain may have (a 4096 x 4096 level 0 down to 8 x 8).
constexpr int32_t kMostMipLevels = 10;

bool InRange(int32_t value, int32_t first, int32_t last) { return value >= first && value <= last; }

}  // namespace

PluginGlobals DefaultGlobals() {
    PluginGlobals globals{};
    globals.image = nullptr;
    globals.options.format = ImageLib::RGB8;
    globals.options.mipMode = ImageLib::NoMipMap;
    globals.options.mipLevels = 0;
    globals.options.etcQuality = ImageLib::MediumPerceptual;
    globals.options.etcEncoder = nullptr;
    globals.options.tgaCompression = 0;
    globals.options.colorCorrection = ImageLib::NONE;
    globals.options.showProgress = 0;
    globals.options.path = nullptr;
    globals.options.source = nullptr;
    return globals;
}

void RepairCopiedGlobals(PluginGlobals& globals) {
    const PluginGlobals defaults = DefaultGlobals();
    ImageLib::ImageOptions& options = globals.options;
    globals.image = nullptr;
    options.etcEncoder = nullptr;
    options.path = nullptr;
    options.source = nullptr;
    if (!InRange(options.format, 0, ImageLib::kTextureFormatCount - 1)) options.format = defaults.options.format;
    if (!InRange(options.mipMode, ImageLib::NoMipMap, ImageLib::UseMipMap)) options.mipMode = defaults.options.mipMode;
    if (!InRange(options.mipLevels, 0, kMostMipLevels)) options.mipLevels = defaults.options.mipLevels;
    if (!InRange(options.etcQuality, 0, ImageLib::kEtcQualityCount - 1)) {
        options.etcQuality = defaults.options.etcQuality;
    }
    if (!InRange(options.tgaCompression, 0, 1)) options.tgaCompression = defaults.options.tgaCompression;
    if (!InRange(options.colorCorrection, 0, ImageLib::kColorCorrectionCount - 1)) {
        options.colorCorrection = defaults.options.colorCorrection;
    }
    if (!InRange(options.showProgress, 0, 1)) options.showProgress = defaults.options.showProgress;
}

}  // namespace FormatPlugin
