// A window's own scroll bars (WS_HSCROLL, WS_VSCROLL): their state, their
// picture and what a click on them asks of the window.
#pragma once

#include <cairo.h>

#include "ui/WindowObjects.h"

namespace ui {

// A press of the button at a point in the window's client coordinates that lies
// on one of its bars. On an arrow or beside the thumb it sends the window
// WM_HSCROLL or WM_VSCROLL with the request (a line, a page), then SB_ENDSCROLL.
// On the thumb it sends nothing and returns true: the thumb is then dragged.
struct ThumbGrab {
    int bar = 0;
    int offset = 0;  // from the thumb's leading edge to the pointer
};
bool PressScrollBar(HWND window, POINT point, ThumbGrab& grab);
// The pointer moved while the thumb is held: SB_THUMBTRACK with the position
// that the thumb's place stands for.
void DragThumb(HWND window, const ThumbGrab& grab, POINT point);
// The button was let go: SB_THUMBPOSITION with the last tracked position, SB_ENDSCROLL.
void ReleaseThumb(HWND window, const ThumbGrab& grab);
// Draws the window's bars; (x, y) is the window rectangle's top-left in the picture.
void DrawScrollBars(cairo_t* cairo, const WindowObject& window, double x, double y);

}  // namespace ui
