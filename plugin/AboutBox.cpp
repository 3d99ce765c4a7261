#include "plugin/AboutBox.h"

#include "plugin/DialogPlacement.h"
#include "plugin/DialogTemplates.h"
#include "plugin/PluginModule.h"
#include "ui/Dialogs.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/System.h"
#include "ui/Windows.h"

namespace FormatPlugin {

using namespace ui;

namespace {

constexpr WPARAM kEscapeCharacter = 27;
constexpr WPARAM kEnterCharacter = 13;

}  // namespace

void ShowAboutBox(HWND parent) {
    RegisterDialogTemplates(ModuleInstance());
    DialogBoxParam(ModuleInstance(), kAboutDialogId, parent, AboutDlgProc, 0);
}

INT_PTR AboutDlgProc(HWND window, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG: CenterDialog(window); return TRUE;
        case WM_COMMAND: {
            const WORD id = LOWORD(wParam);
            if (id != IDOK && id != IDCANCEL) return FALSE;
            EndDialog(window, 0);
            return TRUE;
        }
        case WM_CHAR: {
            const WPARAM character = wParam & 0xFF;
            if (character == kEscapeCharacter || character == kEnterCharacter) EndDialog(window, 0);
            return TRUE;
        }
        case WM_LBUTTONDOWN: EndDialog(window, 0); return TRUE;
        default: return FALSE;
    }
}

void CenterDialog(HWND dialog) {
    HWND parent = GetParent(dialog);
    HWND reference = parent != nullptr ? parent : GetDesktopWindow();
    RECT client;
    GetClientRect(reference, &client);
    POINT topLeft{client.left, client.top};
    ClientToScreen(reference, &topLeft);
    RECT frame;
    GetWindowRect(dialog, &frame);

    DialogPlacementInput in;
    in.parentLeft = topLeft.x;
    in.parentTop = topLeft.y;
    in.parentWidth = client.right - client.left;
    in.parentHeight = client.bottom - client.top;
    in.captionButtonWidth = GetSystemMetrics(SM_CXSIZE);
    in.hasSystemMenu = (static_cast<DWORD>(GetWindowLongPtr(dialog, GWL_STYLE)) & WS_SYSMENU) != 0;
    in.dialogWidth = frame.right - frame.left;
    in.dialogHeight = frame.bottom - frame.top;
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const DialogPosition position = CenteredDialogPosition(in);
    SetWindowPos(dialog, nullptr, position.x, position.y, in.dialogWidth, in.dialogHeight, SWP_NOZORDER);
}

}  // namespace FormatPlugin
