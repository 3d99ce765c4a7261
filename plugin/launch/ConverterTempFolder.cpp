// The private temporary folder, the names of the files in it, and emptying it.
#include "plugin/launch/ConverterTempFolder.h"

#include <array>
#include <string>
#include <vector>

#include "image/TextureFormat.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/Processes.h"
#include "plugin/launch/ConverterLaunch.h"
#include "plugin/launch/TextBuffers.h"

namespace PluginLaunch {
namespace {

// By output kind; kind 0 has none.
constexpr std::array<const char*, 4> kKindExtensions = {nullptr, ".tga", ".fenk", ".voq"};

std::string SharedFolder() { return Platform::JoinPath(Platform::GetTemporaryDirectory(), kConverterName); }

const char* KindExtension(int32_t kind) {
    return kind >= 0 && kind < static_cast<int32_t>(kKindExtensions.size()) ? kKindExtensions[static_cast<size_t>(kind)]
                                                                              : nullptr;
}


}  // namespace

std::string ConverterTempFolder() {
    std::string shared = SharedFolder();
    std::string own = Platform::JoinPath(shared, std::to_string(Platform::GetCurrentProcessId()));
    if (!Platform::MakePrivateFolder(shared.c_str()) || !Platform::MakePrivateFolder(own.c_str())) return "";
    return own;
}

char* MakeTempPath(char* path, int32_t kind, int32_t format, int32_t etcQuality, int32_t colorCorrection) {
    const char* formatName = ImageLib::GetTextureFormatName(format);
    const char* correctionName = ImageLib::GetColorCorrectionName(colorCorrection);
    const char* qualityName = ImageLib::IsETC1Format(format) ? GetEtcQualityName(etcQuality) : "";
    const char* extension = KindExtension(kind);
    if (path == nullptr || formatName == nullptr || correctionName == nullptr || qualityName == nullptr ||
        extension == nullptr) {
        return nullptr;
    }
    std::string folder = ConverterTempFolder();
    if (folder.empty()) return nullptr;
    std::string name = std::string(formatName) + correctionName + qualityName + extension;
    return CopyToBuffer(Platform::JoinPath(folder, name), path, kTempPathSize) ? path : nullptr;
}

void CleanupTempFolder() {
    std::string folder = ConverterTempFolder();
    std::vector<std::string> names;
    if (folder.empty() || !Platform::ListRegularFiles(folder.c_str(), names)) return;
    for (const std::string& name : names) {
        if (name.front() != '.') Platform::RemoveFile(Platform::JoinPath(folder, name).c_str());
    }
    // Each fails quietly while anything is left: a link, a hidden file, another editor's folder.
    Platform::RemoveEmptyFolder(folder.c_str());
    Platform::RemoveEmptyFolder(SharedFolder().c_str());
}

}  // namespace PluginLaunch
