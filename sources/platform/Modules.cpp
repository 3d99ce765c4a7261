// Loaded modules through the dynamic linker.
#include "platform/Modules.h"

#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdlib>

namespace Platform {

ModuleHandle GetModuleOf(const void* address) {
    Dl_info info{};
    return address != nullptr && ::dladdr(address, &info) != 0 ? info.dli_fbase : nullptr;
}

std::string GetModuleFilePath(ModuleHandle module) {
    Dl_info info{};
    link_map* map = nullptr;
    if (module == nullptr || ::dladdr1(module, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) == 0 ||
        map == nullptr) {
        return "";
    }
    // The program itself has no name in the linker's list (dladdr would give
    // argv[0], which need not name the file); the kernel knows its file.
    const char* name = map->l_name != nullptr && map->l_name[0] != '\0' ? map->l_name : "/proc/self/exe";
    char resolved[PATH_MAX];
    return ::realpath(name, resolved) != nullptr ? resolved : "";
}

}  // namespace Platform
