// The save-options dialog as OptionsStart runs it.
#pragma once

#include <cstdint>

#include "plugin/PluginGlobals.h"
#include "plugin/host/FormatHost.h"

namespace FormatPlugin {

// Resource id of the save-options dialog template.
inline constexpr int kSaveOptionsDialogId = 16050;

// Runs the modal save-options dialog over the host's window on `globals`
// (globals->image is the document) and gives the selector's result: 0 after OK,
// with the dialog's choices in the globals; -128 after Cancel or without a
// window or globals; -108 when the dialog cannot be shown, its choices unapplied.
int16_t RunSaveOptionsDialog(const PluginHost::PlatformData* platformData, PluginGlobals* globals);

}  // namespace FormatPlugin
