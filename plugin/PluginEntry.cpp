// The module's exports: what the host finds by name.
#include "plugin/ModuleExport.h"
#include "plugin/PropertyList.h"
#include "plugin/TGAFormatPlugin.h"

BWVOQ_MODULE_EXPORT const std::array<uint8_t, FormatPlugin::kPropertyListSize> PIPL =
    FormatPlugin::BuildPropertyList();

BWVOQ_MODULE_EXPORT void PluginMain(int16_t selector, PluginHost::FormatRecord* record, intptr_t* data,
                                    int16_t* result) {
    FormatPlugin::TGAFormatPlugin plugin;
    plugin.Main(selector, record, data, result);
}
