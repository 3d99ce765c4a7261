// Finding the converter program: beside the plug-in, in $BW_ETCWORKS, in PATH.
#include <string>
#include <string_view>
#include <vector>

#include "platform/Files.h"
#include "platform/Paths.h"
#include "plugin/launch/ConverterLaunch.h"
#include "plugin/launch/TextBuffers.h"

namespace PluginLaunch {
namespace {

Platform::ModuleHandle g_pluginModule = nullptr;

// The longest $BW_ETCWORKS value that is looked at.
constexpr size_t kMaxFolderVariableLength = 4095;

// The folders to look in, in order of preference.
std::vector<std::string> CandidateFolders() {
    std::vector<std::string> folders;
    std::string module = Platform::GetModuleFilePath(g_pluginModule);
    if (!module.empty()) folders.push_back(Platform::FolderOf(module));

    const char* named = Platform::GetEnvironmentValue("BW_ETCWORKS");
    if (named != nullptr && named[0] != '\0' && std::string_view(named).size() <= kMaxFolderVariableLength) {
        folders.emplace_back(named);
    }

    // Only absolute entries: an empty or relative one would run whatever lies in
    // the host's current folder.
    const char* searchPath = Platform::GetEnvironmentValue("PATH");
    std::string_view entries = searchPath != nullptr ? searchPath : "";
    while (!entries.empty()) {
        size_t colon = entries.find(':');
        std::string_view entry = entries.substr(0, colon);
        if (!entry.empty() && entry.front() == Platform::kPathSeparator) folders.emplace_back(entry);
        entries = colon == std::string_view::npos ? std::string_view() : entries.substr(colon + 1);
    }
    return folders;
}

}  // namespace

void SetPluginModule(Platform::ModuleHandle module) { g_pluginModule = module; }

char* FindConverter(char* path) {
    if (path == nullptr) return nullptr;
    for (const std::string& folder : CandidateFolders()) {
        std::string candidate = Platform::JoinPath(folder, kConverterName);
        if (Platform::IsExecutableFile(candidate.c_str()) && CopyToBuffer(candidate, path, kConverterPathSize)) {
            return path;
        }
    }
    return nullptr;
}

}  // namespace PluginLaunch
