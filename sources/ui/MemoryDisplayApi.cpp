// The memory display's test interface. Input goes through the window's display
// connection and thread, as a person's would; pictures are composed on the
// window's own thread after it has painted what was invalid.
#include <cstring>
#include <initializer_list>

#include "ui/Drawing.h"
#include "ui/MemoryConnection.h"
#include "ui/MemoryDisplay.h"
#include "ui/MessageLoop.h"
#include "ui/Messages.h"
#include "ui/NonClient.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui::memory {
namespace {

bool Contains(const RECT& rect, int x, int y) { return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom; }

// Hands events to the connection of the top-level window's thread, all at once,
// so that the thread cannot end the window between them.
bool Inject(HWND root, std::initializer_list<DisplayEvent> events) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(root);
    if (!object || !object->native) return false;
    auto* connection = dynamic_cast<MemoryConnection*>(object->queue->connection.get());
    if (!connection) return false;
    for (DisplayEvent event : events) {
        event.window = object->native;
        connection->Inject(event);
    }
    object->queue->wake.Set();
    return true;
}

// Paints every invalid visible window of this thread.
void PaintPending() {
    std::vector<HWND> windows;
    {
        WindowGuard guard(WindowLock());
        windows = WindowsOfQueue(&CurrentQueue());
    }
    for (HWND window : windows) UpdateWindow(window);
}

HWND FindTopLevel(bool (*matches)(const WindowObject&, const std::string&), const std::string& wanted) {
    WindowGuard guard(WindowLock());
    for (HWND window : TopLevelOrder()) {
        if (matches(*FindWindowObject(window), wanted)) return window;
    }
    return nullptr;
}

}  // namespace

std::vector<HWND> TopLevelWindows() {
    WindowGuard guard(WindowLock());
    return TopLevelOrder();
}

HWND FindWindowByCaption(const std::string& caption) {
    return FindTopLevel([](const WindowObject& window, const std::string& wanted) { return window.text == wanted; },
                        caption);
}

HWND FindWindowByClass(const std::string& className) {
    return FindTopLevel(
        [](const WindowObject& window, const std::string& wanted) { return window.className == wanted; }, className);
}

bool ReadPicture(HWND window, Picture& picture) {
    const HWND root = RootOf(window);
    if (!root) return false;
    RECT rootRect;
    RECT rect;
    if (!GetWindowRect(root, &rootRect) || !GetWindowRect(window, &rect)) return false;
    const LRESULT done = RunOnOwnerThread(root, [&]() -> LRESULT {
        PaintPending();
        cairo_surface_t* composed = ComposeWindow(root);
        if (!composed) return 0;
        const auto* data = cairo_image_surface_get_data(composed);
        const int stride = cairo_image_surface_get_stride(composed);
        picture.width = rect.right - rect.left;
        picture.height = rect.bottom - rect.top;
        picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, 0);
        for (int y = 0; y < picture.height; ++y) {
            const int sourceY = y + rect.top - rootRect.top;
            if (sourceY < 0 || sourceY >= cairo_image_surface_get_height(composed)) continue;
            const auto* row = reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(sourceY) * stride);
            for (int x = 0; x < picture.width; ++x) {
                const int sourceX = x + rect.left - rootRect.left;
                if (sourceX < 0 || sourceX >= cairo_image_surface_get_width(composed)) continue;
                picture.pixels[static_cast<size_t>(y) * picture.width + x] = row[sourceX] & 0x00FFFFFF;
            }
        }
        cairo_surface_destroy(composed);
        return 1;
    });
    return done != 0;
}

bool WritePng(HWND window, const std::string& path) {
    Picture picture;
    if (!ReadPicture(window, picture) || picture.width <= 0 || picture.height <= 0) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, picture.width, picture.height);
    cairo_surface_flush(surface);
    auto* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < picture.height; ++y) {
        std::memcpy(data + static_cast<size_t>(y) * stride, &picture.pixels[static_cast<size_t>(y) * picture.width],
                    static_cast<size_t>(picture.width) * sizeof(uint32_t));
    }
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    return written;
}

namespace {

// The topmost visible top-level window at a screen point and its client origin.
HWND TopLevelAt(int screenX, int screenY, POINT& origin) {
    WindowGuard guard(WindowLock());
    for (HWND window : TopLevelOrder()) {
        WindowObject* object = FindWindowObject(window);
        if (object->Visible() && Contains(object->rect, screenX, screenY)) {
            origin = ClientOrigin(window);
            return window;
        }
    }
    return nullptr;
}

DisplayEvent PointerEvent(DisplayEvent::Kind kind, int screenX, int screenY, POINT origin) {
    DisplayEvent event{kind, 0};
    event.x = screenX - origin.x;
    event.y = screenY - origin.y;
    return event;
}

}  // namespace

bool Click(int screenX, int screenY) {
    POINT origin;
    const HWND root = TopLevelAt(screenX, screenY, origin);
    return root && Inject(root, {PointerEvent(DisplayEvent::Kind::ButtonDown, screenX, screenY, origin),
                                 PointerEvent(DisplayEvent::Kind::ButtonUp, screenX, screenY, origin)});
}

bool Drag(int fromX, int fromY, int toX, int toY) {
    POINT origin;
    const HWND root = TopLevelAt(fromX, fromY, origin);
    return root && Inject(root, {PointerEvent(DisplayEvent::Kind::ButtonDown, fromX, fromY, origin),
                                 PointerEvent(DisplayEvent::Kind::MouseMove, toX, toY, origin),
                                 PointerEvent(DisplayEvent::Kind::ButtonUp, toX, toY, origin)});
}

bool ClickWindow(HWND window) {
    RECT rect;
    if (!GetWindowRect(window, &rect)) return false;
    return Click((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

bool PressKey(WPARAM virtualKey, bool shift) {
    HWND active;
    {
        WindowGuard guard(WindowLock());
        active = ActiveWindow();
    }
    if (!active) return false;
    DisplayEvent event{DisplayEvent::Kind::KeyDown, 0};
    event.key = virtualKey;
    event.shift = shift;
    return Inject(active, {event});
}

bool ResizeWindow(HWND window, int clientWidth, int clientHeight) {
    DisplayEvent event{DisplayEvent::Kind::Resized, 0};
    event.width = clientWidth;
    event.height = clientHeight;
    return Inject(window, {event});
}

bool CloseWindow(HWND window) { return Inject(window, {DisplayEvent{DisplayEvent::Kind::CloseRequest, 0}}); }

}  // namespace ui::memory
