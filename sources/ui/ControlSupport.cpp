#include "ui/ControlSupport.h"

#include "ui/Drawing.h"
#include "ui/GdiObjects.h"
#include "ui/Messages.h"
#include "ui/ThreadQueues.h"
#include "ui/Windows.h"

namespace ui {

void PaintControl(HWND window, const std::function<void(cairo_t*, const ControlLook&)>& draw) {
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    if (!context) return;
    ControlLook look;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        const SIZE size = ClientSize(*object);
        look = ControlLook{size.cx, size.cy, object->text, object->style, object->Enabled(),
                           CurrentQueue().focus == window};
    }
    if (cairo_surface_t* target = context->Target()) {
        cairo_t* cairo = cairo_create(target);
        draw(cairo, look);
        cairo_destroy(cairo);
    }
    EndPaint(window, &paint);
}

void FillBox(cairo_t* cairo, double x, double y, double width, double height, COLORREF color) {
    SetSourceColor(cairo, color);
    cairo_rectangle(cairo, x, y, width, height);
    cairo_fill(cairo);
}

void FrameBox(cairo_t* cairo, double x, double y, double width, double height, COLORREF color) {
    SetSourceColor(cairo, color);
    cairo_set_line_width(cairo, 1);
    cairo_rectangle(cairo, x + 0.5, y + 0.5, width - 1, height - 1);
    cairo_stroke(cairo);
}

void NotifyParent(HWND control, WORD code) {
    const HWND parent = GetParent(control);
    if (!parent) return;
    SendMessage(parent, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID(control)), code),
                reinterpret_cast<LPARAM>(control));
}

}  // namespace ui
