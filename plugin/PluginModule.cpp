#include "plugin/PluginModule.h"

#include "LibBase/File.h"
#include "plugin/launch/ConverterLaunch.h"

namespace FormatPlugin {

Platform::ModuleHandle g_module = nullptr;

namespace {

// Runs when the module is loaded, before the host's first call.
__attribute__((constructor)) void OnModuleLoad() {
    g_module = Platform::GetModuleOf(reinterpret_cast<const void*>(&OnModuleLoad));
    PluginLaunch::SetPluginModule(g_module);
    // A file that fails to read inside the editor is a failed open, never the end of the editor.
    LibBase::SetReadFailureHandling(LibBase::ReadFailure::ReturnZero);
}

}  // namespace
}  // namespace FormatPlugin
