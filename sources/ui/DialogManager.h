// The dialog window class and the built-in classes' registration.
#pragma once

#include "ui/Types.h"

namespace ui {

inline constexpr const char kDialogClass[] = "#32770";
inline constexpr const char kComboListClass[] = "ComboLBox";

LRESULT DialogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Runs a dialog made on this thread modally until EndDialog or its destruction,
// with its owner disabled meanwhile; destroys it and returns EndDialog's value
// (0 when it went without one).
INT_PTR RunModalDialog(HWND dialog);
// Enter, Esc and Tab in a dialog: true when the message was one of them and was handled.
bool HandleDialogKey(HWND dialog, const MSG& message);

LRESULT ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui
