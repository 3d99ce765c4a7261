// The drop-down list: a closed field showing the selected entry, and a pop-up
// list (a topmost window of its own, one row per entry) that a click opens.
// Choosing another entry, in the list or with the arrow keys, sends CBN_SELCHANGE.
#include <algorithm>
#include <string>
#include <vector>

#include "ui/ControlSupport.h"
#include "ui/Controls.h"
#include "ui/DialogManager.h"
#include "ui/Drawing.h"
#include "ui/GdiObjects.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/TextDrawing.h"
#include "ui/Windows.h"

namespace ui {
namespace {

constexpr int kFieldHeight = 22;  // the closed control
constexpr int kRowHeight = 16;    // one entry of the list
constexpr int kArrowWidth = 17;
constexpr UINT kPickEntry = WM_USER + 0x100;  // from the list: the entry in WPARAM was clicked

struct ComboState : ControlState {
    std::vector<std::string> entries;
    int selected = -1;
    HWND list = nullptr;
};

// The list keeps its combo box's handle.
struct ListState : ControlState {
    HWND combo = nullptr;
};

void CloseList(HWND combo) {
    ComboState& state = StateOf<ComboState>(combo);
    if (!state.list) return;
    const HWND list = state.list;
    state.list = nullptr;
    DestroyWindow(list);
    NotifyParent(combo, CBN_CLOSEUP);
}

void OpenList(HWND combo) {
    if (StateOf<ComboState>(combo).list) return;
    NotifyParent(combo, CBN_DROPDOWN);
    RECT field;
    GetWindowRect(combo, &field);
    const int rows = std::max<int>(static_cast<int>(StateOf<ComboState>(combo).entries.size()), 1);
    const HWND list = CreateWindowEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kComboListClass, "", WS_POPUP | WS_BORDER,
                                     field.left, field.bottom, field.right - field.left, rows * kRowHeight + 2, combo,
                                     nullptr, nullptr, nullptr);
    if (!list) return;
    StateOf<ListState>(list).combo = combo;
    StateOf<ComboState>(combo).list = list;
    SetWindowPos(list, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void Select(HWND combo, int index) {
    ComboState& state = StateOf<ComboState>(combo);
    if (index < 0 || index >= static_cast<int>(state.entries.size()) || index == state.selected) return;
    state.selected = index;
    InvalidateRect(combo, nullptr, FALSE);
    if (state.list) InvalidateRect(state.list, nullptr, FALSE);
    NotifyParent(combo, CBN_SELCHANGE);
}

void PaintField(HWND combo) {
    const ComboState& state = StateOf<ComboState>(combo);
    const std::string shown = state.selected >= 0 ? state.entries[state.selected] : std::string();
    PaintControl(combo, [&](cairo_t* cairo, const ControlLook& look) {
        FillBox(cairo, 0, 0, look.width, look.height, look.enabled ? RGB(255, 255, 255) : GetSysColor(COLOR_BTNFACE));
        FrameBox(cairo, 0, 0, look.width, look.height, look.focused ? RGB(0, 120, 215) : RGB(122, 122, 122));
        if (look.focused) FillBox(cairo, 2, 2, look.width - kArrowWidth - 3, look.height - 4, GetSysColor(COLOR_HIGHLIGHT));
        const COLORREF ink = !look.enabled ? GetSysColor(COLOR_GRAYTEXT)
                             : look.focused ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                            : GetSysColor(COLOR_WINDOWTEXT);
        DrawTextLine(cairo, shown, RECT{4, 0, look.width - kArrowWidth, look.height}, TextAlign::Left, ink);
        const double cx = look.width - kArrowWidth / 2.0;
        const double cy = look.height / 2.0;
        SetSourceColor(cairo, look.enabled ? RGB(64, 64, 64) : GetSysColor(COLOR_GRAYTEXT));
        cairo_move_to(cairo, cx - 4, cy - 2);
        cairo_line_to(cairo, cx + 4, cy - 2);
        cairo_line_to(cairo, cx, cy + 3);
        cairo_close_path(cairo);
        cairo_fill(cairo);
    });
}

void PaintList(HWND list) {
    const HWND combo = StateOf<ListState>(list).combo;
    const ComboState& state = StateOf<ComboState>(combo);
    PaintControl(list, [&](cairo_t* cairo, const ControlLook& look) {
        FillBox(cairo, 0, 0, look.width, look.height, RGB(255, 255, 255));
        for (size_t i = 0; i < state.entries.size(); ++i) {
            const int top = static_cast<int>(i) * kRowHeight;
            const bool chosen = static_cast<int>(i) == state.selected;
            if (chosen) FillBox(cairo, 0, top, look.width, kRowHeight, GetSysColor(COLOR_HIGHLIGHT));
            DrawTextLine(cairo, state.entries[i], RECT{3, top, look.width, top + kRowHeight}, TextAlign::Left,
                         chosen ? GetSysColor(COLOR_HIGHLIGHTTEXT) : GetSysColor(COLOR_WINDOWTEXT));
        }
    });
}

}  // namespace

LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            // The scroll bar styles and the template's height belong to the list;
            // the control itself is the field.
            SetWindowLongPtr(window, GWL_STYLE, GetWindowLongPtr(window, GWL_STYLE) & ~(WS_VSCROLL | WS_HSCROLL));
            SetWindowPos(window, nullptr, 0, 0, reinterpret_cast<CREATESTRUCT*>(lParam)->cx, kFieldHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        case WM_PAINT:
            PaintField(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
            SetFocus(window);
            if (StateOf<ComboState>(window).list) {
                CloseList(window);
            } else {
                OpenList(window);
            }
            return 0;
        case WM_KEYDOWN: {
            const int selected = StateOf<ComboState>(window).selected;
            if (wParam == VK_DOWN) Select(window, selected + 1);
            if (wParam == VK_UP) Select(window, std::max(selected - 1, 0));
            if (wParam == VK_RETURN || wParam == VK_ESCAPE) CloseList(window);
            return 0;
        }
        case WM_SETFOCUS:
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            CloseList(window);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_ENABLE:
            if (!wParam) CloseList(window);
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        case WM_DESTROY:
            CloseList(window);
            return 0;
        case kPickEntry:
            Select(window, static_cast<int>(wParam));
            CloseList(window);
            return 0;
        case CB_ADDSTRING: {
            ComboState& state = StateOf<ComboState>(window);
            state.entries.emplace_back(lParam ? reinterpret_cast<const char*>(lParam) : "");
            return static_cast<LRESULT>(state.entries.size()) - 1;
        }
        case CB_RESETCONTENT: {
            ComboState& state = StateOf<ComboState>(window);
            state.entries.clear();
            state.selected = -1;
            InvalidateRect(window, nullptr, FALSE);
            return 0;
        }
        case CB_SETCURSEL: {
            ComboState& state = StateOf<ComboState>(window);
            const auto index = static_cast<intptr_t>(wParam);
            state.selected = index >= 0 && index < static_cast<intptr_t>(state.entries.size()) ? static_cast<int>(index) : -1;
            InvalidateRect(window, nullptr, FALSE);
            return state.selected >= 0 ? state.selected : CB_ERR;
        }
        case CB_GETCURSEL: {
            const int selected = StateOf<ComboState>(window).selected;
            return selected >= 0 ? selected : CB_ERR;
        }
        case CB_GETCOUNT:
            return static_cast<LRESULT>(StateOf<ComboState>(window).entries.size());
        case CB_GETLBTEXTLEN:
        case CB_GETLBTEXT: {
            const ComboState& state = StateOf<ComboState>(window);
            const auto index = static_cast<intptr_t>(wParam);
            if (index < 0 || index >= static_cast<intptr_t>(state.entries.size())) return CB_ERR;
            const std::string& entry = state.entries[static_cast<size_t>(index)];
            if (message == CB_GETLBTEXT && lParam) {
                std::copy(entry.begin(), entry.end(), reinterpret_cast<char*>(lParam));
                reinterpret_cast<char*>(lParam)[entry.size()] = '\0';
            }
            return static_cast<LRESULT>(entry.size());
        }
        case CB_SHOWDROPDOWN:
            if (wParam) {
                OpenList(window);
            } else {
                CloseList(window);
            }
            return TRUE;
        case CB_GETDROPPEDSTATE:
            return StateOf<ComboState>(window).list ? TRUE : FALSE;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

LRESULT ComboListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintList(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN: {
            const int y = static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(lParam)));
            PostMessage(StateOf<ListState>(window).combo, kPickEntry, static_cast<WPARAM>(y / kRowHeight), 0);
            return 0;
        }
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace ui
