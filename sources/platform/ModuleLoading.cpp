// Modules through the dynamic linker.
#include "platform/ModuleLoading.h"

#include <dlfcn.h>

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

}  // namespace Platform
