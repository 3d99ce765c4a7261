#include "plugin/TGAFormatPlugin.h"

#include <algorithm>

#include "plugin/HostPixelTransfer.h"
#include "plugin/PluginConfiguration.h"
#include "plugin/SaveOptions.h"
#include "plugin/launch/ConverterLaunch.h"

namespace FormatPlugin {

using namespace PluginHost;

namespace {

// Bytes of a file header that every estimate counts.
constexpr int32_t kEstimateHeaderBytes = 54;

}  // namespace

void TGAFormatPlugin::InitGlobals() { *globals = DefaultGlobals(); }

void TGAFormatPlugin::ReadPrepare() { record->maxData = 0; }

void TGAFormatPlugin::ReadStart() {
    if (*result != noErr) return;
    FileImage image;
    *result = ReadHeaderFromFile(&image, record);
}

void TGAFormatPlugin::ReadContinue() {
    if (*result != noErr) return;
    FileImage image;
    *result = ReadPixelsFromFile(&image, record);
}

void TGAFormatPlugin::OptionsStart() {
    if (*result != noErr) return;
    ImageLib::CImage image;
    *result = ReadHostImage(&image, record);
    if (*result != noErr) return;
    globals->image = &image;
    *result = RunSaveOptionsDialog(record->platformData, globals);
    // The image ends with this call; nothing may find it through the globals later.
    globals->image = nullptr;
}

void TGAFormatPlugin::EstimateStart() {
    const int64_t pixels = static_cast<int64_t>(record->imageSize.h) * record->imageSize.v;
    record->minDataBytes = kEstimateHeaderBytes;
    record->maxDataBytes = static_cast<int32_t>(std::clamp<int64_t>(pixels * 3 + kEstimateHeaderBytes, 0, INT32_MAX));
    record->data = nullptr;
}

void TGAFormatPlugin::WriteStart() {
    if (*result != noErr) return;
    FileImage image;
    *result = ReadHostImage(&image, record);
    if (*result != noErr) return;
    char convertedPath[PluginLaunch::kTempPathSize];
    if (PluginLaunch::ConvertViaConverter(convertedPath, kConfiguration.outputKind, &image, &globals->options) == nullptr) {
        *result = errPlugInHostInsufficient;
        return;
    }
    Platform::FileHandle converted = PluginLaunch::OpenFileForRead(convertedPath);
    if (converted.IsInvalid()) {
        *result = openErr;
        return;
    }
    const bool copied = PluginLaunch::CopyFileToHandle(converted, record->dataFork);
    Platform::CloseFile(converted);
    if (!copied) *result = writErr;
}

}  // namespace FormatPlugin
