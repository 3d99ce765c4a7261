#include "plugin/PSFormatDialog.h"

#include "ui/Dialogs.h"
#include "ui/Messages.h"

namespace FormatPlugin {

PSFormatDialog* g_currentDialog = nullptr;

PSFormatDialog::~PSFormatDialog() { g_currentDialog = nullptr; }

}  // namespace FormatPlugin

using namespace ui;

BWVOQ_MODULE_EXPORT INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FormatPlugin::PSFormatDialog* dialog = FormatPlugin::g_currentDialog;
    if (dialog == nullptr) return TRUE;
    dialog->hwnd = window;
    switch (message) {
        case WM_INITDIALOG: dialog->OnInitDialog(lParam); return FALSE;
        case WM_SIZE: dialog->OnSize(static_cast<int>(wParam), LOWORD(lParam), HIWORD(lParam)); return FALSE;
        case WM_GETMINMAXINFO: {
            MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            if (dialog->minTrackWidth > 0) limits->ptMinTrackSize.x = dialog->minTrackWidth;
            if (dialog->minTrackHeight > 0) limits->ptMinTrackSize.y = dialog->minTrackHeight;
            return FALSE;
        }
        case WM_COMMAND: {
            const int controlId = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if ((controlId == IDOK || controlId == IDCANCEL) && code == 0) {
                EndDialog(window, controlId);
                return TRUE;
            }
            dialog->OnCommand(controlId, code);
            return FALSE;
        }
        default: return FALSE;
    }
}
