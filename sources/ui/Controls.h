// Helpers of dialogs' controls, and the scroll bars of a window (WS_HSCROLL,
// WS_VSCROLL). A scroll position is kept within nMin .. nMax - max(page - 1, 0).
#pragma once

#include "ui/Types.h"

namespace ui {

// Control class names, for dialog templates and CreateWindowEx.
inline constexpr const char kButtonClass[] = "Button";
inline constexpr const char kStaticClass[] = "Static";
inline constexpr const char kComboBoxClass[] = "ComboBox";
inline constexpr const char kProgressClass[] = "msctls_progress32";

BOOL SetDlgItemText(HWND dialog, int id, const char* text);
UINT GetDlgItemText(HWND dialog, int id, char* buffer, int size);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);  // BST_CHECKED or BST_UNCHECKED
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks `checked` and unchecks every other button with an id in first .. last.
BOOL CheckRadioButton(HWND dialog, int first, int last, int checked);

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL redraw);  // the new position
BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info);

}  // namespace ui
