#include "ui/WindowInternals.h"

#include <algorithm>

#include "ui/NonClient.h"
#include "ui/Styles.h"
#include "ui/ThreadQueues.h"

namespace ui {

void MarkNeedsPresent(HWND window) {
    if (WindowObject* root = FindWindowObject(RootOf(window))) root->needsPresent = true;
}

void InvalidateWhole(WindowObject& window) {
    const SIZE size = ClientSize(window);
    window.invalid = true;
    window.erase = true;
    window.invalidRect = RECT{0, 0, size.cx, size.cy};
}

cairo_surface_t* EnsureSurface(WindowObject& window) {
    const SIZE size = ClientSize(window);
    const int width = std::max<int>(size.cx, 1);
    const int height = std::max<int>(size.cy, 1);
    if (window.surface && cairo_image_surface_get_width(window.surface) == width &&
        cairo_image_surface_get_height(window.surface) == height) {
        return window.surface;
    }
    if (window.surface) cairo_surface_destroy(window.surface);
    window.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    return window.surface;
}

NativeWindowTraits TraitsOf(const WindowObject& window) {
    NativeWindowTraits traits;
    traits.frame = window.rect;
    traits.client = ClientRectIn(window.rect, window.style, false);
    traits.title = window.text;
    if (WindowObject* owner = window.owner ? FindWindowObject(window.owner) : nullptr) traits.owner = owner->native;
    if (window.exStyle & WS_EX_TOOLWINDOW) {
        traits.kind = NativeKind::ToolWindow;
    } else if (window.dialogProcedure || window.owner) {
        traits.kind = NativeKind::Dialog;
    }
    traits.topmost = (window.exStyle & WS_EX_TOPMOST) != 0;
    traits.resizable = (window.style & WS_THICKFRAME) != 0;
    traits.minimum = window.minimumTrack;
    return traits;
}

DisplayConnection* ConnectionOfWindow(const WindowObject& window) {
    if (!IsCurrentThread(window.queue.get())) return nullptr;
    return window.queue->connection.get();
}

void UpdateNative(const WindowObject& window) {
    if (!window.native) return;
    if (DisplayConnection* connection = ConnectionOfWindow(window)) {
        connection->UpdateNativeWindow(window.native, TraitsOf(window));
    }
}

std::vector<HWND> ChildrenOf(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object ? object->children : std::vector<HWND>{};
}

void ForgetWindow(HWND window) {
    ThreadQueue& queue = CurrentQueue();
    if (queue.focus == window) queue.focus = nullptr;
}

}  // namespace ui
