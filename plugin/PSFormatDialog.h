// PSFormatDialog: the base of the plug-in's dialogs, and DialogProc, the
// dialog procedure that forwards the window system's messages to the one
// dialog object that exists (g_currentDialog).
#pragma once

#include <cstdint>

#include "plugin/ModuleExport.h"
#include "plugin/PluginGlobals.h"
#include "ui/Types.h"

namespace FormatPlugin {

class PSFormatDialog {
public:
    PSFormatDialog() = default;
    PSFormatDialog(const PSFormatDialog&) = delete;
    PSFormatDialog& operator=(const PSFormatDialog&) = delete;

    // Virtual interface, in slot order.
    virtual ~PSFormatDialog();  // clears g_currentDialog
    virtual void OnInitDialog(ui::LPARAM) {}
    virtual void OnCommand(int /*controlId*/, int /*notificationCode*/) {}
    virtual void Apply(PluginGlobals*) {}
    virtual void OnSize(int /*sizeType*/, int /*width*/, int /*height*/) {}

    ui::HWND hwnd = nullptr;     // the dialog window, rewritten on every message
    int32_t minTrackWidth = 0;   // smallest size the user may drag to; 0: no limit
    int32_t minTrackHeight = 0;
};

// The dialog that DialogProc forwards to; null when none exists.
extern PSFormatDialog* g_currentDialog;

}  // namespace FormatPlugin

// Exported: the plug-in hands it to the window system for its dialogs.
BWVOQ_MODULE_EXPORT ui::INT_PTR DialogProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);
