// Loading shared objects (modules) into the process and finding their symbols.
// A loaded module stays until the process ends: its static state, the list of
// what it does at exit among it, must outlive every call into it.
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

}  // namespace Platform
