#include "converter/ProgressWindowCalls.h"

#include <string>

#include "platform/ModuleLoading.h"
#include "platform/Paths.h"

const ProgressWindowCalls* g_progressWindowCalls = nullptr;

bool LoadProgressWindow() {
    if (g_progressWindowCalls != nullptr) return true;  // a window linked in serves as it is
    static const ProgressWindowCalls* const loaded = []() -> const ProgressWindowCalls* {
        const std::string folder = Platform::ExecutableFolder();
        if (folder.empty()) return nullptr;
        std::string error;
        const std::string path = Platform::JoinPath(folder, kProgressWindowModule);
        Platform::LoadedModule module = Platform::LoadModule(path.c_str(), error);
        using Export = const ProgressWindowCalls* (*)();
        auto calls = reinterpret_cast<Export>(Platform::FindModuleSymbol(module, kProgressWindowCallsSymbol));
        return calls != nullptr ? calls() : nullptr;
    }();
    if (loaded != nullptr) g_progressWindowCalls = loaded;
    return loaded != nullptr;
}
