// Dialogs: made from templates, run modally or not, with the dialog keys.
#include "ui/DialogManager.h"

#include <algorithm>
#include <vector>

#include "ui/Controls.h"
#include "ui/Dialogs.h"
#include "ui/Messages.h"
#include "ui/NonClient.h"
#include "ui/Resources.h"
#include "ui/Styles.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

DLGPROC ProcedureOf(HWND dialog) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(dialog);
    return object ? object->dialogProcedure : nullptr;
}

bool IsDialogEnded(HWND dialog) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(dialog);
    return !object || object->dialogEnded;
}

// The control's own visibility counts: the dialog itself may still be hidden.
bool IsTabStop(HWND control) {
    const intptr_t style = GetWindowLongPtr(control, GWL_STYLE);
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

HWND FirstTabStop(HWND dialog) {
    for (HWND control : ChildrenOf(dialog)) {
        if (IsTabStop(control)) return control;
    }
    return nullptr;
}

void MoveFocus(HWND dialog, bool backwards) {
    std::vector<HWND> stops;
    for (HWND control : ChildrenOf(dialog)) {
        if (IsTabStop(control)) stops.push_back(control);
    }
    if (stops.empty()) return;
    auto current = std::find(stops.begin(), stops.end(), GetFocus());
    size_t index = 0;
    if (current != stops.end()) {
        const size_t at = static_cast<size_t>(current - stops.begin());
        index = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
    } else if (backwards) {
        index = stops.size() - 1;
    }
    SetFocus(stops[index]);
}

bool IsOfClass(HWND window, const char* className) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object && object->className == className;
}

bool IsPushButton(HWND control, DWORD kind) {
    return IsOfClass(control, kButtonClass) && (GetWindowLongPtr(control, GWL_STYLE) & BS_TYPEMASK) == kind;
}

// A drop-down list whose list is open keeps Enter and Esc for itself.
bool IsDroppedCombo(HWND control) {
    return IsOfClass(control, kComboBoxClass) && SendMessage(control, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

// The button that Enter presses: the focused push button, else the default push button, else IDOK.
HWND EnterButton(HWND dialog) {
    const HWND focus = GetFocus();
    if (focus && GetParent(focus) == dialog &&
        (IsPushButton(focus, BS_PUSHBUTTON) || IsPushButton(focus, BS_DEFPUSHBUTTON))) {
        return focus;
    }
    for (HWND control : ChildrenOf(dialog)) {
        if (IsPushButton(control, BS_DEFPUSHBUTTON)) return control;
    }
    return nullptr;
}

void SendCommand(HWND dialog, int id, HWND control) {
    SendMessage(dialog, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), BN_CLICKED), reinterpret_cast<LPARAM>(control));
}

bool BelongsTo(HWND window, HWND dialog) {
    WindowGuard guard(WindowLock());
    for (WindowObject* object = FindWindowObject(window); object;
         object = object->parent ? FindWindowObject(object->parent) : nullptr) {
        if (object->handle == dialog) return true;
    }
    return false;
}

}  // namespace

LRESULT DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const DLGPROC procedure = ProcedureOf(window);
    SetWindowLongPtr(window, DWLP_MSGRESULT, 0);
    if (procedure && procedure(window, message, wParam, lParam)) return GetWindowLongPtr(window, DWLP_MSGRESULT);
    if (message == WM_CLOSE) {
        SendCommand(window, IDCANCEL, GetDlgItem(window, IDCANCEL));
        return 0;
    }
    return DefWindowProc(window, message, wParam, lParam);
}

bool HandleDialogKey(HWND dialog, const MSG& message) {
    if (message.message != WM_KEYDOWN || !message.hwnd || !BelongsTo(message.hwnd, dialog)) return false;
    switch (message.wParam) {
        case VK_TAB:
            MoveFocus(dialog, CurrentQueue().shiftDown);
            return true;
        case VK_RETURN: {
            if (IsDroppedCombo(GetFocus())) return false;
            const HWND button = EnterButton(dialog);
            SendCommand(dialog, button ? GetDlgCtrlID(button) : IDOK, button);
            return true;
        }
        case VK_ESCAPE:
            if (IsDroppedCombo(GetFocus())) return false;
            SendCommand(dialog, IDCANCEL, GetDlgItem(dialog, IDCANCEL));
            return true;
        default:
            return false;
    }
}

HWND CreateDialogIndirectParam(HINSTANCE module, const DialogTemplate* dialogTemplate, HWND parent,
                               DLGPROC procedure, LPARAM param) {
    if (!dialogTemplate) return nullptr;
    EnsureBuiltInClasses();
    const DialogTemplate& t = *dialogTemplate;
    const bool child = (t.style & WS_CHILD) != 0;
    RECT client = DialogUnitsToPixels(RECT{t.x, t.y, static_cast<LONG>(t.x + t.cx), static_cast<LONG>(t.y + t.cy)});
    if (!child && parent) {
        POINT origin{0, 0};
        ClientToScreen(parent, &origin);
        client = RECT{client.left + origin.x, client.top + origin.y, client.right + origin.x, client.bottom + origin.y};
    }
    const RECT frame = WindowRectAround(client, t.style, child);
    const HWND dialog = CreateWindowEx(t.exStyle, kDialogClass, t.caption, t.style & ~WS_VISIBLE, frame.left,
                                       frame.top, frame.right - frame.left, frame.bottom - frame.top, parent,
                                       nullptr, module, nullptr);
    if (!dialog) return nullptr;
    {
        WindowGuard guard(WindowLock());
        FindWindowObject(dialog)->dialogProcedure = procedure;
    }
    for (const DialogItem& item : t.items) {
        const RECT r = DialogUnitsToPixels(
            RECT{item.x, item.y, static_cast<LONG>(item.x + item.cx), static_cast<LONG>(item.y + item.cy)});
        const HWND control = CreateWindowEx(item.exStyle, item.className, item.text, item.style | WS_CHILD, r.left,
                                            r.top, r.right - r.left, r.bottom - r.top, dialog,
                                            reinterpret_cast<HMENU>(static_cast<intptr_t>(item.id)), module, nullptr);
        if (!control) {
            DestroyWindow(dialog);
            return nullptr;
        }
    }
    const HWND first = FirstTabStop(dialog);
    const INT_PTR focusDefault =
        procedure ? procedure(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) : TRUE;
    if (!IsWindow(dialog)) return nullptr;
    if (focusDefault && first) SetFocus(first);
    if (t.style & WS_VISIBLE) ShowWindow(dialog, SW_SHOW);
    return dialog;
}

HWND CreateDialogParam(HINSTANCE module, int templateId, HWND parent, DLGPROC procedure, LPARAM param) {
    return CreateDialogIndirectParam(module, FindDialogTemplate(module, templateId), parent, procedure, param);
}

INT_PTR RunModalDialog(HWND dialog) {
    const HWND owner = GetParent(dialog);
    const bool disableOwner = owner && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    MSG message;
    while (!IsDialogEnded(dialog)) {
        const BOOL got = GetMessage(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // the outer loop must see it too
            break;
        }
        if (got < 0 || HandleDialogKey(dialog, message)) continue;
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
    INT_PTR result = 0;
    {
        WindowGuard guard(WindowLock());
        if (WindowObject* object = FindWindowObject(dialog); object && object->dialogEnded) {
            result = object->dialogResult;
        }
    }
    if (disableOwner) EnableWindow(owner, TRUE);
    DestroyWindow(dialog);
    if (owner) SetForegroundWindow(owner);
    return result;
}

INT_PTR DialogBoxParam(HINSTANCE module, int templateId, HWND parent, DLGPROC procedure, LPARAM param) {
    const HWND dialog = CreateDialogParam(module, templateId, parent, procedure, param);
    return dialog ? RunModalDialog(dialog) : -1;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(dialog);
        if (!object || object->className != kDialogClass) return FALSE;
        object->dialogEnded = true;
        object->dialogResult = result;
    }
    ShowWindow(dialog, SW_HIDE);
    PostMessage(dialog, WM_NULL, 0, 0);  // a modal loop waiting for messages looks again
    return TRUE;
}

}  // namespace ui
