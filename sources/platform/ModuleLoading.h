// Loading shared objects (modules) into the process and finding their symbols.
#pragma once

#include <string>

namespace Platform {

// A module loaded by LoadModule; null names none.
using LoadedModule = void*;

// Loads the shared object at `path`, its symbols kept to itself; null on
// failure, with the dynamic linker's reason in `error`.
LoadedModule LoadModule(const char* path, std::string& error);

// The address of the exported symbol `name`, or null when the module has none.
void* FindModuleSymbol(LoadedModule module, const char* name);

void UnloadModule(LoadedModule module);

}  // namespace Platform
