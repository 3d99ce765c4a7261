// Window device contexts, painting and invalidation.
#include <algorithm>

#include "ui/Drawing.h"
#include "ui/GdiObjects.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

RECT Union(const RECT& a, const RECT& b) {
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

}  // namespace

cairo_surface_t* DeviceContext::Target() const {
    if (selected) return selected->surface;
    if (!window) return nullptr;
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object ? EnsureSurface(*object) : nullptr;
}

HDC GetDC(HWND window) {
    if (!IsWindow(window)) return nullptr;
    auto* context = new DeviceContext;
    context->window = window;
    return context;
}

int ReleaseDC(HWND window, HDC context) {
    if (!context || context->window != window) return 0;
    if (cairo_surface_t* target = context->Target()) cairo_surface_flush(target);
    {
        WindowGuard guard(WindowLock());
        MarkNeedsPresent(window);
    }
    delete context;
    return 1;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (!paint) return nullptr;
    bool erase;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return nullptr;
        EnsureSurface(*object);
        const SIZE size = ClientSize(*object);
        paint->rcPaint = object->invalid ? object->invalidRect : RECT{0, 0, size.cx, size.cy};
        erase = object->erase;
        object->invalid = false;
        object->erase = false;
    }
    HDC context = GetDC(window);
    paint->hdc = context;
    paint->fErase = erase && !SendMessage(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    return context;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT* paint) {
    if (!paint) return FALSE;
    return ReleaseDC(window, paint->hdc) ? TRUE : FALSE;
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
    std::shared_ptr<ThreadQueue> owner;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return FALSE;
        const SIZE size = ClientSize(*object);
        const RECT whole{0, 0, size.cx, size.cy};
        const RECT added = rect ? *rect : whole;
        object->invalidRect = object->invalid ? Union(object->invalidRect, added) : added;
        object->invalid = true;
        object->erase = object->erase || erase;
        owner = object->queue;
        // Its picture is due once the window is painted; a wait for a window
        // held back ends when that picture may go.
        MarkNeedsPresent(window);
    }
    owner->wake.Set();  // its thread paints when it next looks for messages
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    bool due;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return FALSE;
        due = object->invalid;
    }
    if (due && IsWindowVisible(window)) SendMessage(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL RedrawWindow(HWND window, const RECT* rect, void*, UINT flags) {
    if (!IsWindow(window)) return FALSE;
    const std::vector<HWND> children = (flags & RDW_ALLCHILDREN) ? ChildrenOf(window) : std::vector<HWND>{};
    if (flags & RDW_INVALIDATE) InvalidateRect(window, rect, (flags & RDW_ERASE) ? TRUE : FALSE);
    for (HWND child : children) RedrawWindow(child, nullptr, nullptr, flags);
    if (flags & RDW_UPDATENOW) UpdateWindow(window);
    return TRUE;
}

}  // namespace ui
