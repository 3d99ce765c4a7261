#include "plugin/TGAFormatDialog.h"

#include "plugin/launch/ConverterLaunch.h"

namespace FormatPlugin {

TGAFormatDialog::TGAFormatDialog() { g_currentDialog = this; }

TGAFormatDialog::~TGAFormatDialog() { PluginLaunch::CleanupTempFolder(); }

}  // namespace FormatPlugin
