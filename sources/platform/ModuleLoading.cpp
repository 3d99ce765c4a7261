// Modules through the dynamic linker.
#include "platform/ModuleLoading.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

#include "platform/Paths.h"

namespace Platform {

LoadedModule LoadModule(const char* path, std::string& error) {
    // Binding every symbol now makes a module with a missing one fail here, not in a later call.
    LoadedModule module = path != nullptr ? ::dlopen(path, RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (module == nullptr) {
        const char* reason = ::dlerror();
        error = reason != nullptr ? reason : "no module path";
    }
    return module;
}

void* FindModuleSymbol(LoadedModule module, const char* name) {
    return module != nullptr && name != nullptr ? ::dlsym(module, name) : nullptr;
}

std::string ExecutableFolder() {
    std::string path(PATH_MAX, '\0');
    const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size());
    if (length <= 0 || static_cast<size_t>(length) >= path.size()) return {};
    path.resize(static_cast<size_t>(length));
    return FolderOf(path);
}

}  // namespace Platform
