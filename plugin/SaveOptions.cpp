#include "plugin/SaveOptions.h"

#include "plugin/DialogTemplates.h"
#include "plugin/PluginModule.h"
#include "plugin/TGAFormatDialog.h"
#include "ui/Dialogs.h"
#include "ui/Messages.h"

namespace FormatPlugin {

using namespace PluginHost;

int16_t RunSaveOptionsDialog(const PlatformData* platformData, PluginGlobals* globals) {
    TGAFormatDialog dialog;
    if (platformData == nullptr || globals == nullptr) return userCanceledErr;
    RegisterDialogTemplates(ModuleInstance());
    const ui::INT_PTR choice = ui::DialogBoxParam(ModuleInstance(), kSaveOptionsDialogId, platformData->hwnd,
                                                  DialogProc, reinterpret_cast<ui::LPARAM>(globals));
    if (choice == ui::IDCANCEL) return userCanceledErr;
    // Any other end means the dialog never filled its copy of the globals.
    if (choice != ui::IDOK) return memFullErr;
    dialog.Apply(globals);
    return noErr;
}

}  // namespace FormatPlugin
