#include "converter/ProgressWindowCalls.h"

#include <string>

#include "platform/ModuleLoading.h"
#include "platform/Modules.h"
#include "platform/Paths.h"

const ProgressWindowCalls* g_progressWindowCalls = nullptr;

bool LoadProgressWindow() {
    if (g_progressWindowCalls != nullptr) return true;  // a window linked in serves as it is
    static const ProgressWindowCalls* const loaded = []() -> const ProgressWindowCalls* {
        // The module lies beside the program that holds this code.
        const std::string program =
            Platform::GetModuleFilePath(Platform::GetModuleOf(reinterpret_cast<const void*>(&LoadProgressWindow)));
        if (program.empty()) return nullptr;
        std::string error;
        const std::string path = Platform::JoinPath(Platform::FolderOf(program), kProgressWindowModule);
        Platform::LoadedModule module = Platform::LoadModule(path.c_str(), error);
        using Export = const ProgressWindowCalls* (*)();
        auto calls = reinterpret_cast<Export>(Platform::FindModuleSymbol(module, kProgressWindowCallsSymbol));
        return calls != nullptr ? calls() : nullptr;
    }();
    if (loaded != nullptr) g_progressWindowCalls = loaded;
    return loaded != nullptr;
}
