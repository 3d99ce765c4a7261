// What drawing handles name: device contexts, bitmaps and brushes. Bitmaps and
// window surfaces are cairo image surfaces of 32-bit pixels (0xAARRGGBB).
#pragma once

#include <cairo.h>

#include "ui/Types.h"

namespace ui {

struct BitmapObject final : Bitmap {
    explicit BitmapObject(cairo_surface_t* pixels) : surface(pixels) {}
    ~BitmapObject() override { cairo_surface_destroy(surface); }

    cairo_surface_t* surface;
    HDC selectedInto = nullptr;
};

struct BrushObject final : Brush {
    BrushObject(COLORREF value, bool ownedBySystem) : color(value), system(ownedBySystem) {}
    COLORREF color;
    bool system;  // system colour and stock brushes are never deleted
};

struct DeviceContext {
    HWND window = nullptr;     // a window's context draws on its client surface
    BitmapObject* selected = nullptr;  // a memory context draws on its bitmap
    BitmapObject* initial = nullptr;   // the 1 x 1 bitmap a memory context starts with
    HBRUSH brush = nullptr;
    int stretchMode = 1;

    // The surface that the context draws on now, or null.
    cairo_surface_t* Target() const;
};

// Sets the source colour of a cairo context.
void SetSourceColor(cairo_t* cairo, COLORREF color);

}  // namespace ui
