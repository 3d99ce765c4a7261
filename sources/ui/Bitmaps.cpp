// Memory device contexts, bitmaps and the pixel copies between them.
#include <algorithm>
#include <cstring>

#include "ui/Drawing.h"
#include "ui/GdiObjects.h"

namespace ui {
namespace {

// Larger bitmaps are refused rather than risking a failed allocation inside cairo.
constexpr int kMaxBitmapSide = 32767;

BitmapObject* NewBitmap(int width, int height) {
    if (width < 1 || height < 1 || width > kMaxBitmapSide || height > kMaxBitmapSide) return nullptr;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return nullptr;
    }
    cairo_surface_flush(surface);
    auto* pixels = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < height; ++y) {
        std::fill_n(reinterpret_cast<uint32_t*>(pixels + static_cast<size_t>(y) * stride), width, 0xFF000000u);
    }
    cairo_surface_mark_dirty(surface);
    return new BitmapObject(surface);
}

struct PixelRows {
    uint8_t* data;
    int width;
    int height;
    int stride;
    uint32_t* Row(int y) const { return reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride); }
};

PixelRows RowsOf(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    return PixelRows{cairo_image_surface_get_data(surface), cairo_image_surface_get_width(surface),
                     cairo_image_surface_get_height(surface), cairo_image_surface_get_stride(surface)};
}

bool IsSupportedDib(const BITMAPINFOHEADER& header) {
    return header.biSize >= sizeof(BITMAPINFOHEADER) && header.biWidth > 0 && header.biHeight != 0 &&
           header.biBitCount == 24 && header.biCompression == BI_RGB && header.biWidth <= kMaxBitmapSide &&
           header.biHeight <= kMaxBitmapSide && header.biHeight >= -kMaxBitmapSide;
}

}  // namespace

HDC CreateCompatibleDC(HDC) {
    auto* context = new DeviceContext;
    context->initial = NewBitmap(1, 1);
    context->selected = context->initial;
    context->initial->selectedInto = context;
    return context;
}

BOOL DeleteDC(HDC context) {
    if (!context || context->window) return FALSE;
    if (context->selected) context->selected->selectedInto = nullptr;
    delete context->initial;
    delete context;
    return TRUE;
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) { return NewBitmap(width, height); }

HGDIOBJ SelectObject(HDC context, HGDIOBJ object) {
    if (!context || !object) return nullptr;
    if (auto* brush = dynamic_cast<BrushObject*>(object)) {
        HGDIOBJ previous = context->brush;
        context->brush = brush;
        return previous;
    }
    auto* bitmap = dynamic_cast<BitmapObject*>(object);
    if (!bitmap || context->window) return nullptr;
    if (bitmap->selectedInto && bitmap->selectedInto != context) return nullptr;
    BitmapObject* previous = context->selected;
    if (previous) previous->selectedInto = nullptr;
    bitmap->selectedInto = context;
    context->selected = bitmap;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (!object) return FALSE;
    if (auto* brush = dynamic_cast<BrushObject*>(object)) {
        if (!brush->system) delete brush;
        return TRUE;
    }
    auto* bitmap = dynamic_cast<BitmapObject*>(object);
    if (!bitmap || bitmap->selectedInto) return FALSE;
    delete bitmap;
    return TRUE;
}

int GetObject(HGDIOBJ object, int size, void* out) {
    auto* bitmap = dynamic_cast<BitmapObject*>(object);
    if (!bitmap || !out || size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP info;
    info.bmWidth = cairo_image_surface_get_width(bitmap->surface);
    info.bmHeight = cairo_image_surface_get_height(bitmap->surface);
    info.bmWidthBytes = cairo_image_surface_get_stride(bitmap->surface);
    info.bmBitsPixel = 32;
    std::memcpy(out, &info, sizeof info);
    return sizeof info;
}

int SetDIBits(HDC, HBITMAP handle, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
    auto* bitmap = dynamic_cast<BitmapObject*>(handle);
    if (!bitmap || !bits || !info || usage != DIB_RGB_COLORS || !IsSupportedDib(info->bmiHeader)) return 0;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const bool bottomUp = header.biHeight > 0;
    const int dibHeight = bottomUp ? header.biHeight : -header.biHeight;
    if (start >= static_cast<UINT>(dibHeight)) return 0;
    lines = std::min<UINT>(lines, static_cast<UINT>(dibHeight) - start);
    const size_t stride = (static_cast<size_t>(header.biWidth) * 3 + 3) & ~size_t{3};
    const PixelRows target = RowsOf(bitmap->surface);
    const int width = std::min<int>(header.biWidth, target.width);
    const auto* source = static_cast<const uint8_t*>(bits);
    for (UINT line = 0; line < lines; ++line) {
        const int scan = static_cast<int>(start + line);  // scan lines count from the DIB's first stored row
        const int y = bottomUp ? dibHeight - 1 - scan : scan;
        if (y < 0 || y >= target.height) continue;
        const uint8_t* row = source + static_cast<size_t>(line) * stride;
        uint32_t* out = target.Row(y);
        for (int x = 0; x < width; ++x) {
            const uint8_t* pixel = row + 3 * x;
            out[x] = 0xFF000000u | (uint32_t{pixel[2]} << 16) | (uint32_t{pixel[1]} << 8) | pixel[0];
        }
    }
    cairo_surface_mark_dirty(bitmap->surface);
    return static_cast<int>(lines);
}

int SetStretchBltMode(HDC context, int mode) {
    if (!context) return 0;
    const int previous = context->stretchMode;
    context->stretchMode = mode;
    return previous;
}

BOOL StretchBlt(HDC destination, int dx, int dy, int dw, int dh, HDC source, int sx, int sy, int sw, int sh,
                DWORD rop) {
    if (!destination || !source || rop != SRCCOPY || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return FALSE;
    cairo_surface_t* targetSurface = destination->Target();
    cairo_surface_t* sourceSurface = source->Target();
    if (!targetSurface || !sourceSurface) return FALSE;
    const PixelRows from = RowsOf(sourceSurface);
    const PixelRows to = RowsOf(targetSurface);
    for (int row = 0; row < dh; ++row) {
        const int ty = dy + row;
        const int fy = sy + static_cast<int>((int64_t{row} * sh) / dh);
        if (ty < 0 || ty >= to.height || fy < 0 || fy >= from.height) continue;
        const uint32_t* in = from.Row(fy);
        uint32_t* out = to.Row(ty);
        for (int column = 0; column < dw; ++column) {
            const int tx = dx + column;
            const int fx = sx + static_cast<int>((int64_t{column} * sw) / dw);
            if (tx < 0 || tx >= to.width || fx < 0 || fx >= from.width) continue;
            out[tx] = in[fx] | 0xFF000000u;
        }
    }
    cairo_surface_mark_dirty(targetSurface);
    return TRUE;
}

int FillRect(HDC context, const RECT* rect, HBRUSH brush) {
    auto* fill = dynamic_cast<BrushObject*>(brush);
    if (!context || !rect || !fill) return 0;
    cairo_surface_t* target = context->Target();
    if (!target) return 0;
    cairo_t* cairo = cairo_create(target);
    cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
    SetSourceColor(cairo, fill->color);
    cairo_rectangle(cairo, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top);
    cairo_fill(cairo);
    cairo_destroy(cairo);
    return 1;
}

}  // namespace ui
