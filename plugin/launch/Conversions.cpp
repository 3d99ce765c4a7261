// Converting the document through the converter, for a save and for the preview.
#include <string>

#include "image/ImageFiles.h"
#include "image/MipChain.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "plugin/launch/ConverterLaunch.h"

namespace PluginLaunch {
namespace {

char* Fail(ConvertError error) {
    g_lastConvertError = static_cast<int32_t>(error);
    return nullptr;
}

// Whether `destination` loads the preview file at `path` with at least the levels the options ask for.
bool LoadsWithEnoughLevels(ImageLib::CImageVOQ& destination, const char* path, const ImageLib::CImage& source,
                           const ImageLib::ImageOptions& options) {
    int32_t wanted = ImageLib::GetMipLevelCount(source.width, source.height, options.format, options.mipMode,
                                                options.mipLevels);
    return destination.Load(path) && destination.mipLevels >= wanted;
}

}  // namespace

char* ConvertViaConverter(char* outputPath, int32_t kind, const ImageLib::CImage* image,
                          const ImageLib::ImageOptions* options) {
    g_lastConvertError = static_cast<int32_t>(ConvertError::None);
    if (options == nullptr) return Fail(ConvertError::SystemError);
    if (MakeTempPath(outputPath, kind, options->format, options->etcQuality, options->colorCorrection) == nullptr) {
        return Fail(ConvertError::PathNotFound);
    }
    // A run in progress reads "base.tga": leave it alone.
    if (g_converterBusy) return Fail(ConvertError::CommandFailed);

    std::string base = Platform::JoinPath(Platform::FolderOf(outputPath), kBaseTempFileName);
    // SaveImage writes through a symbolic link: one planted at this name goes first.
    Platform::RemoveFile(base.c_str());
    // The writers take a mutable image, but one saved without options is only read.
    if (!ImageLib::SaveImage(const_cast<ImageLib::CImage*>(image), base.c_str(), nullptr)) {
        return Fail(ConvertError::SaveTempFileFailed);
    }
    char converter[kConverterPathSize];
    if (FindConverter(converter) == nullptr) return Fail(ConvertError::CommandNotFound);
    if (!RunConverter(converter, base.c_str(), outputPath, options->format, options->etcQuality, options->mipMode,
                      options->mipLevels, options->colorCorrection)) {
        return Fail(ConvertError::CommandFailed);
    }
    return outputPath;
}

bool ConvertPreview(const ImageLib::CImage* source, ImageLib::CImageVOQ* destination,
                    const ImageLib::ImageOptions* options) {
    g_lastConvertError = static_cast<int32_t>(ConvertError::None);
    if (source == nullptr || destination == nullptr || options == nullptr) {
        Fail(ConvertError::SystemError);
        return false;
    }
    char path[kTempPathSize];
    if (MakeTempPath(path, kOutputVoq, options->format, options->etcQuality, options->colorCorrection) != nullptr &&
        LoadsWithEnoughLevels(*destination, path, *source, *options)) {
        return true;
    }
    if (ConvertViaConverter(path, kOutputVoq, source, options) == nullptr) return false;
    if (!destination->Load(path)) {
        Fail(ConvertError::LoadTempFileFailed);
        return false;
    }
    return true;
}

}  // namespace PluginLaunch
