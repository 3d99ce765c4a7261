// The About box: a small modal box with the plug-in's name and version over the
// host's window, closed by a click anywhere on it, Enter or Esc.
#pragma once

#include "ui/Types.h"

namespace FormatPlugin {

// Shows the box (template 16000) over `parent` until it is closed.
void ShowAboutBox(ui::HWND parent);

// The box's dialog procedure.
ui::INT_PTR AboutDlgProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);

// Places a dialog over its parent (the desktop without one): centred across, a
// third of the way down, moved left by a caption button's width, and kept on the screen.
void CenterDialog(ui::HWND dialog);

}  // namespace FormatPlugin
