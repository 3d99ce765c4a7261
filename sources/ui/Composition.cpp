// A top-level window's picture: its frame, then its client surface, then its
// children from the bottom of the z-order up, each clipped to its parent.
#include <algorithm>
#include <vector>

#include "ui/Drawing.h"
#include "ui/GdiObjects.h"
#include "ui/MessageLoop.h"
#include "ui/NonClient.h"
#include "ui/ScrollBars.h"
#include "ui/ThreadQueues.h"
#include "ui/TextDrawing.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

void DrawBorder(cairo_t* cairo, double x, double y, double width, double height) {
    cairo_set_operator(cairo, CAIRO_OPERATOR_OVER);
    SetSourceColor(cairo, GetSysColor(COLOR_BTNSHADOW));
    cairo_set_line_width(cairo, 1);
    cairo_rectangle(cairo, x + 0.5, y + 0.5, width - 1, height - 1);
    cairo_stroke(cairo);
}

void DrawCaption(cairo_t* cairo, const WindowObject& window, double x, double y, double width) {
    const int border = BorderWidth(window.style, false);
    const RECT bar{static_cast<LONG>(x) + border, static_cast<LONG>(y) + border,
                   static_cast<LONG>(x + width) - border, static_cast<LONG>(y) + border + kCaptionHeight};
    SetSourceColor(cairo, GetSysColor(COLOR_ACTIVECAPTION));
    cairo_rectangle(cairo, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top);
    cairo_fill(cairo);
    RECT text = bar;
    text.left += 6;
    DrawTextLine(cairo, window.text, text, TextAlign::Left, GetSysColor(COLOR_CAPTIONTEXT), true);
}

// Draws a window's non-client frame at (x, y) in the picture, then its client
// area and children.
void ComposeInto(cairo_t* cairo, const WindowObject& window, double x, double y) {
    const double width = window.rect.right - window.rect.left;
    const double height = window.rect.bottom - window.rect.top;
    const bool child = window.IsChild();
    const int border = BorderWidth(window.style, child);
    if (!child) {
        SetSourceColor(cairo, GetSysColor(COLOR_BTNFACE));
        cairo_rectangle(cairo, x, y, width, height);
        cairo_fill(cairo);
    }
    if (border > 0) DrawBorder(cairo, x, y, width, height);
    if (HasCaption(window.style, child)) DrawCaption(cairo, window, x, y, width);
    DrawScrollBars(cairo, window, x, y);

    const RECT client = ClientRectIn(RECT{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)}, window.style,
                                     child);
    const double clientX = x + client.left;
    const double clientY = y + client.top;
    cairo_save(cairo);
    cairo_rectangle(cairo, clientX, clientY, client.right - client.left, client.bottom - client.top);
    cairo_clip(cairo);
    if (window.surface) {
        cairo_set_source_surface(cairo, window.surface, clientX, clientY);
        cairo_paint(cairo);
    }
    for (auto child = window.children.rbegin(); child != window.children.rend(); ++child) {
        const WindowObject* object = FindWindowObject(*child);
        if (!object || !object->Visible()) continue;
        ComposeInto(cairo, *object, clientX + object->rect.left, clientY + object->rect.top);
    }
    cairo_restore(cairo);
}

}  // namespace

cairo_surface_t* ComposeWindow(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return nullptr;
    const int width = std::max<int>(object->rect.right - object->rect.left, 1);
    const int height = std::max<int>(object->rect.bottom - object->rect.top, 1);
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cairo = cairo_create(picture);
    SetSourceColor(cairo, GetSysColor(COLOR_BTNFACE));
    cairo_paint(cairo);
    ComposeInto(cairo, *object, 0, 0);
    cairo_destroy(cairo);
    cairo_surface_flush(picture);
    return picture;
}

void PresentChangedWindows(ThreadQueue& queue) {
    if (!queue.connection) return;
    std::vector<HWND> due;
    {
        WindowGuard guard(WindowLock());
        for (HWND window : WindowsOfQueue(&queue)) {
            WindowObject* object = FindWindowObject(window);
            if (object->native && object->needsPresent && object->Visible()) due.push_back(window);
        }
    }
    for (HWND window : due) {
        cairo_surface_t* picture = ComposeWindow(window);
        if (!picture) continue;
        NativeWindow native = 0;
        {
            WindowGuard guard(WindowLock());
            if (WindowObject* object = FindWindowObject(window)) {
                object->needsPresent = false;
                native = object->native;
            }
        }
        const PixelView view{reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(picture)),
                             cairo_image_surface_get_width(picture), cairo_image_surface_get_height(picture),
                             cairo_image_surface_get_stride(picture)};
        if (native) queue.connection->Present(native, view);
        cairo_surface_destroy(picture);
    }
}

}  // namespace ui
