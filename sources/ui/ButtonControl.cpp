// Push buttons, auto check boxes, auto radio buttons and group boxes.
#include <algorithm>
#include <vector>

#include "ui/ControlSupport.h"
#include "ui/Controls.h"
#include "ui/DialogManager.h"
#include "ui/Drawing.h"
#include "ui/GdiObjects.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/TextDrawing.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

struct ButtonState : ControlState {
    bool checked = false;
    bool pressed = false;
};

constexpr int kMarkSize = 13;  // the box of a check box, the circle of a radio button
constexpr int kMarkGap = 4;

DWORD KindOf(HWND window) { return static_cast<DWORD>(GetWindowLongPtr(window, GWL_STYLE)) & BS_TYPEMASK; }

// The auto radio buttons of the window's group: from the nearest sibling at or
// before it with WS_GROUP up to the next sibling with WS_GROUP.
std::vector<HWND> RadioGroupOf(HWND window) {
    const std::vector<HWND> siblings = ChildrenOf(GetParent(window));
    auto self = std::find(siblings.begin(), siblings.end(), window);
    auto first = self;
    while (first != siblings.begin() && !(GetWindowLongPtr(*first, GWL_STYLE) & WS_GROUP)) --first;
    std::vector<HWND> group;
    for (auto it = first; it != siblings.end(); ++it) {
        if (it != first && (GetWindowLongPtr(*it, GWL_STYLE) & WS_GROUP)) break;
        if (KindOf(*it) == BS_AUTORADIOBUTTON) group.push_back(*it);
    }
    return group;
}

void Click(HWND window) {
    const DWORD kind = KindOf(window);
    if (kind == BS_AUTOCHECKBOX) {
        ButtonState& state = StateOf<ButtonState>(window);
        state.checked = !state.checked;
        InvalidateRect(window, nullptr, TRUE);
    } else if (kind == BS_AUTORADIOBUTTON) {
        for (HWND member : RadioGroupOf(window)) {
            if (member != window) SendMessage(member, BM_SETCHECK, BST_UNCHECKED, 0);
        }
        SendMessage(window, BM_SETCHECK, BST_CHECKED, 0);
    }
    NotifyParent(window, BN_CLICKED);
}

void DrawPushButton(cairo_t* cairo, const ControlLook& look, bool pressed) {
    FillBox(cairo, 0, 0, look.width, look.height, pressed ? RGB(204, 228, 247) : RGB(225, 225, 225));
    const bool isDefault = (look.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    FrameBox(cairo, 0, 0, look.width, look.height, isDefault || look.focused ? RGB(0, 120, 215) : RGB(173, 173, 173));
    if (isDefault) FrameBox(cairo, 1, 1, look.width - 2, look.height - 2, RGB(0, 120, 215));
    DrawTextLine(cairo, look.text, RECT{2, 0, look.width - 2, look.height}, TextAlign::Centre,
                 look.enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
}

void DrawMarkedButton(cairo_t* cairo, const ControlLook& look, bool checked, bool radio) {
    FillBox(cairo, 0, 0, look.width, look.height, GetSysColor(COLOR_BTNFACE));
    const double top = (look.height - kMarkSize) / 2;
    const COLORREF ink = look.enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
    if (radio) {
        SetSourceColor(cairo, RGB(255, 255, 255));
        cairo_arc(cairo, kMarkSize / 2.0, top + kMarkSize / 2.0, kMarkSize / 2.0 - 0.5, 0, 6.2832);
        cairo_fill_preserve(cairo);
        SetSourceColor(cairo, RGB(51, 51, 51));
        cairo_set_line_width(cairo, 1);
        cairo_stroke(cairo);
        if (checked) {
            SetSourceColor(cairo, ink);
            cairo_arc(cairo, kMarkSize / 2.0, top + kMarkSize / 2.0, 3, 0, 6.2832);
            cairo_fill(cairo);
        }
    } else {
        FillBox(cairo, 0, top, kMarkSize, kMarkSize, RGB(255, 255, 255));
        FrameBox(cairo, 0, top, kMarkSize, kMarkSize, RGB(51, 51, 51));
        if (checked) {
            SetSourceColor(cairo, ink);
            cairo_set_line_width(cairo, 2);
            cairo_move_to(cairo, 3, top + 6.5);
            cairo_line_to(cairo, 5.5, top + 9.5);
            cairo_line_to(cairo, 10, top + 3.5);
            cairo_stroke(cairo);
        }
    }
    DrawTextLine(cairo, look.text, RECT{kMarkSize + kMarkGap, 0, look.width, look.height}, TextAlign::Left, ink);
    if (look.focused) FrameBox(cairo, kMarkSize + kMarkGap - 2, 0, look.width - kMarkSize - kMarkGap + 2, look.height,
                               RGB(120, 120, 120));
}

// A frame with the text in its top edge; the inside stays transparent.
void DrawGroupBox(cairo_t* cairo, const ControlLook& look) {
    const int textHeight = 14;
    FrameBox(cairo, 0, textHeight / 2, look.width, look.height - textHeight / 2, RGB(220, 220, 220));
    if (look.text.empty()) return;
    const int textWidth = TextWidth(look.text);
    FillBox(cairo, 6, 0, textWidth + 4, textHeight, GetSysColor(COLOR_BTNFACE));
    DrawTextLine(cairo, look.text, RECT{8, 0, 8 + textWidth + 2, textHeight}, TextAlign::Left,
                 look.enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT));
}

void Paint(HWND window) {
    const ButtonState state = StateOf<ButtonState>(window);
    PaintControl(window, [&](cairo_t* cairo, const ControlLook& look) {
        switch (look.style & BS_TYPEMASK) {
            case BS_GROUPBOX: DrawGroupBox(cairo, look); break;
            case BS_AUTOCHECKBOX: DrawMarkedButton(cairo, look, state.checked, false); break;
            case BS_AUTORADIOBUTTON: DrawMarkedButton(cairo, look, state.checked, true); break;
            default: DrawPushButton(cairo, look, state.pressed); break;
        }
    });
}

}  // namespace

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting covers what it needs
        case WM_LBUTTONDOWN:
            if (KindOf(window) == BS_GROUPBOX) return 0;
            StateOf<ButtonState>(window).pressed = true;
            SetFocus(window);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            ButtonState& state = StateOf<ButtonState>(window);
            if (!state.pressed) return 0;
            state.pressed = false;
            InvalidateRect(window, nullptr, FALSE);
            RECT client;
            GetClientRect(window, &client);
            const int x = static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(lParam)));
            const int y = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lParam)));
            if (x >= 0 && y >= 0 && x < client.right && y < client.bottom) Click(window);
            return 0;
        }
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && KindOf(window) != BS_GROUPBOX) Click(window);
            return 0;
        case BM_CLICK:
            if (KindOf(window) != BS_GROUPBOX) Click(window);
            return 0;
        case BM_GETCHECK:
            return StateOf<ButtonState>(window).checked ? BST_CHECKED : BST_UNCHECKED;
        case BM_SETCHECK:
            StateOf<ButtonState>(window).checked = wParam == BST_CHECKED;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProc(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, TRUE);
            return result;
        }
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

BOOL CheckDlgButton(HWND dialog, int id, UINT check) {
    const HWND button = GetDlgItem(dialog, id);
    if (!button) return FALSE;
    SendMessage(button, BM_SETCHECK, check, 0);
    return TRUE;
}

UINT IsDlgButtonChecked(HWND dialog, int id) {
    return static_cast<UINT>(SendDlgItemMessage(dialog, id, BM_GETCHECK, 0, 0));
}

BOOL CheckRadioButton(HWND dialog, int first, int last, int checked) {
    if (!IsWindow(dialog)) return FALSE;
    for (HWND child : ChildrenOf(dialog)) {
        const int id = GetDlgCtrlID(child);
        if (id >= first && id <= last) SendMessage(child, BM_SETCHECK, id == checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

}  // namespace ui
