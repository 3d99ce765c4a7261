// Loaded modules: the program and the shared objects mapped into it.
#pragma once

#include <string>

namespace Platform {

// A loaded module, named by the address it is loaded at; null names none.
using ModuleHandle = const void*;

// The module that holds `address` (any function or data of it); null when no
// loaded module holds it.
ModuleHandle GetModuleOf(const void* address);

// The module's file as an absolute path with every link resolved; empty for a
// null module or when the file cannot be found.
std::string GetModuleFilePath(ModuleHandle module);

}  // namespace Platform
