// What the built-in controls share: their state beside the window, painting
// with cairo and notifying their parent.
#pragma once

#include <cairo.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/WindowObjects.h"

namespace ui {

// How a control looks when it paints.
struct ControlLook {
    int width;
    int height;
    std::string text;
    DWORD style;
    bool enabled;
    bool focused;
};

// Paints the client area through BeginPaint / EndPaint.
void PaintControl(HWND window, const std::function<void(cairo_t*, const ControlLook&)>& draw);
// Fills a rectangle with a colour.
void FillBox(cairo_t* cairo, double x, double y, double width, double height, COLORREF color);
// A one-pixel frame just inside a rectangle.
void FrameBox(cairo_t* cairo, double x, double y, double width, double height, COLORREF color);

// WM_COMMAND with the control's id and the code, sent to its parent.
void NotifyParent(HWND control, WORD code);

// The control's state, made on first use; only the control's own thread uses it.
template <typename State>
State& StateOf(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    static thread_local State orphan;  // for a window that is already gone
    if (!object) return orphan = State{};
    if (!object->control) object->control = std::make_unique<State>();
    return static_cast<State&>(*object->control);
}

}  // namespace ui
