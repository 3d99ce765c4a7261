// A window's own scroll bars (WS_HSCROLL, WS_VSCROLL): their state, their
// picture and what a click on them asks of the window.
#pragma once

#include <cairo.h>

#include "ui/WindowObjects.h"

namespace ui {

// A click at a point in the window's client coordinates that lies on one of its
// bars: sends the window WM_HSCROLL or WM_VSCROLL with the request (a line at the
// arrows, a page beside the thumb, SB_THUMBPOSITION on the thumb), then SB_ENDSCROLL.
void ClickScrollBar(HWND window, POINT point);
// Draws the window's bars; (x, y) is the window rectangle's top-left in the picture.
void DrawScrollBars(cairo_t* cairo, const WindowObject& window, double x, double y);

}  // namespace ui
