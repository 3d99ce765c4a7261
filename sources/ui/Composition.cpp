// A top-level window's picture: its frame, then its client surface, then its
// children from the bottom of the z-order up, each clipped to its parent.
#include <algorithm>
#include <chrono>
#include <memory>
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

// What composing reads of a window and of its visible children, copied under
// the lock so that drawing (text above all) holds nobody else up: a thread that
// posts to one of our windows must not wait for a picture to be finished.
struct Layer {
    std::unique_ptr<WindowObject> look = std::make_unique<WindowObject>();
    std::vector<Layer> children;  // bottom of the z-order first
};

Layer TakeLayer(const WindowObject& window) {
    Layer layer;
    WindowObject& look = *layer.look;
    look.style = window.style;
    look.parent = window.parent;
    look.text = window.text;
    look.rect = window.rect;
    look.scroll[0] = window.scroll[0];
    look.scroll[1] = window.scroll[1];
    // A reference of the layer's own: the window may make a new surface meanwhile.
    if (window.surface) look.surface = cairo_surface_reference(window.surface);
    for (auto child = window.children.rbegin(); child != window.children.rend(); ++child) {
        const WindowObject* object = FindWindowObject(*child);
        if (object && object->Visible()) layer.children.push_back(TakeLayer(*object));
    }
    return layer;
}

// Draws a window's non-client frame at (x, y) in the picture, then its client
// area and children.
void ComposeInto(cairo_t* cairo, const Layer& layer, double x, double y) {
    const WindowObject& window = *layer.look;
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
    for (const Layer& above : layer.children) {
        const RECT& rect = above.look->rect;
        ComposeInto(cairo, above, clientX + rect.left, clientY + rect.top);
    }
    cairo_restore(cairo);
}

}  // namespace

cairo_surface_t* ComposeWindow(HWND window) {
    Layer layer;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return nullptr;
        layer = TakeLayer(*object);
    }
    const RECT& rect = layer.look->rect;
    const int width = std::max<int>(rect.right - rect.left, 1);
    const int height = std::max<int>(rect.bottom - rect.top, 1);
    cairo_surface_t* picture = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cairo = cairo_create(picture);
    SetSourceColor(cairo, GetSysColor(COLOR_BTNFACE));
    cairo_paint(cairo);
    ComposeInto(cairo, layer, 0, 0);
    cairo_destroy(cairo);
    cairo_surface_flush(picture);
    return picture;
}

bool PictureHeldBack(const WindowObject& root, std::chrono::steady_clock::time_point now) {
    return root.presentedAt + kPresentInterval > now;
}

int PresentChangedWindows(ThreadQueue& queue) {
    if (!queue.connection) return -1;
    const auto now = std::chrono::steady_clock::now();
    std::vector<HWND> due;
    auto nextDue = std::chrono::steady_clock::time_point::max();
    {
        WindowGuard guard(WindowLock());
        for (HWND window : WindowsOfQueue(&queue)) {
            WindowObject* object = FindWindowObject(window);
            if (!object->native || !object->needsPresent || !object->Visible()) continue;
            if (PictureHeldBack(*object, now)) {
                nextDue = std::min(nextDue, object->presentedAt + kPresentInterval);
            } else {
                due.push_back(window);
            }
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
                object->presentedAt = std::chrono::steady_clock::now();  // composing took a while
                native = object->native;
            }
        }
        const PixelView view{reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(picture)),
                             cairo_image_surface_get_width(picture), cairo_image_surface_get_height(picture),
                             cairo_image_surface_get_stride(picture)};
        if (native) queue.connection->Present(native, view);
        cairo_surface_destroy(picture);
    }
    if (nextDue == std::chrono::steady_clock::time_point::max()) return -1;
    // Rounded up, so that the wait never ends just before the window is due.
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(nextDue - now).count());
}

}  // namespace ui
