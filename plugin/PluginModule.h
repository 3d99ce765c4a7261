// The loaded module itself: set when the module is loaded, never changed.
#pragma once

#include "platform/Modules.h"
#include "ui/Types.h"

namespace FormatPlugin {

// The plug-in module; null only before its load has finished.
extern Platform::ModuleHandle g_module;

// g_module as the window system names modules (for dialog templates and window classes).
inline ui::HINSTANCE ModuleInstance() {
    return reinterpret_cast<ui::HINSTANCE>(const_cast<void*>(g_module));
}

}  // namespace FormatPlugin
