// A display's events become messages of the thread that owns the window: mouse
// messages go to the deepest visible child under the pointer (static text and
// group boxes let clicks through to what lies beneath), keys to the focus.
#include <cstring>
#include <utility>

#include "ui/Controls.h"
#include "ui/MessageLoop.h"
#include "ui/Messages.h"
#include "ui/NonClient.h"
#include "ui/ScrollBars.h"
#include "ui/Styles.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

struct Hit {
    HWND window = nullptr;
    POINT point;           // client coordinates of `window`
    bool nonClient = false;  // on the frame or a scroll bar of `window`
};

bool LetsClicksThrough(const WindowObject& window) {
    if (window.className == kStaticClass) return true;
    return window.className == kButtonClass && (window.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Contains(const RECT& rect, POINT point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

// `point` is in the client coordinates of `window`.
Hit HitTest(HWND window, POINT point) {
    WindowObject* object = FindWindowObject(window);
    for (HWND child : object->children) {
        WindowObject* candidate = FindWindowObject(child);
        if (!candidate->Visible() || LetsClicksThrough(*candidate) || !Contains(candidate->rect, point)) continue;
        const RECT client = ClientRectIn(candidate->rect, candidate->style, true);
        const POINT inner{point.x - client.left, point.y - client.top};
        if (!Contains(client, point)) return Hit{child, inner, true};
        return HitTest(child, inner);
    }
    return Hit{window, point, false};
}

HWND WindowOfNative(ThreadQueue& queue, NativeWindow native) {
    for (HWND window : WindowsOfQueue(&queue)) {
        if (FindWindowObject(window)->native == native) return window;
    }
    return nullptr;
}

void PostTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) { PostMessage(window, message, wParam, lParam); }

LPARAM PointParam(POINT point) {
    return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(point.x)), static_cast<WORD>(static_cast<int16_t>(point.y)));
}

void ButtonDown(ThreadQueue& queue, HWND root, POINT point) {
    Hit hit;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(root);
        if (!object->Enabled()) return;  // a modal dialog of its own is open
        const SIZE client = ClientSize(*object);
        if (point.x < 0 || point.y < 0 || point.x >= client.cx || point.y >= client.cy) {
            hit = Hit{root, point, true};
        } else {
            hit = HitTest(root, point);
        }
        if (!FindWindowObject(hit.window)->Enabled()) hit.window = nullptr;
    }
    // A pop-up without a caption (a drop-down's list) leaves the active window as it is.
    if ((GetWindowLongPtr(root, GWL_STYLE) & WS_CAPTION) || !(GetWindowLongPtr(root, GWL_STYLE) & WS_POPUP)) {
        SetForegroundWindow(root);
    }
    if (!hit.window) return;
    if (hit.nonClient) {
        if (PressScrollBar(hit.window, hit.point, queue.thumb)) queue.thumbWindow = hit.window;
        return;
    }
    queue.pressed = hit.window;
    PostTo(hit.window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(hit.point));
}

// A point in the root's client coordinates, in another window's client coordinates.
POINT PointIn(HWND root, HWND window, POINT point) {
    WindowGuard guard(WindowLock());
    const POINT rootOrigin = ClientOrigin(root);
    const POINT windowOrigin = ClientOrigin(window);
    return POINT{point.x + rootOrigin.x - windowOrigin.x, point.y + rootOrigin.y - windowOrigin.y};
}

void MouseMove(ThreadQueue& queue, HWND root, POINT point) {
    if (queue.thumbWindow && IsWindow(queue.thumbWindow)) {
        DragThumb(queue.thumbWindow, queue.thumb, PointIn(root, queue.thumbWindow, point));
    }
}

void ButtonUp(ThreadQueue& queue, HWND root, POINT point) {
    if (const HWND thumbWindow = std::exchange(queue.thumbWindow, nullptr); thumbWindow && IsWindow(thumbWindow)) {
        ReleaseThumb(thumbWindow, queue.thumb);
        return;
    }
    HWND target = queue.pressed;
    queue.pressed = nullptr;
    if (!target || !IsWindow(target)) return;
    PostTo(target, WM_LBUTTONUP, 0, PointParam(PointIn(root, target, point)));
}

HWND KeyTarget(ThreadQueue& queue, HWND root) {
    WindowGuard guard(WindowLock());
    if (queue.focus && RootOf(queue.focus) == root) return queue.focus;
    return root;
}

void Resized(HWND root, int clientWidth, int clientHeight) {
    RECT rect;
    DWORD style;
    const SIZE minimum = AskMinimumTrackSize(root);
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(root);
        style = object->style;
        const RECT client = ClientRectIn(object->rect, style, false);
        rect = WindowRectAround(RECT{client.left, client.top, client.left + clientWidth, client.top + clientHeight},
                                style, false);
    }
    const int width = std::max<int>(rect.right - rect.left, minimum.cx);
    const int height = std::max<int>(rect.bottom - rect.top, minimum.cy);
    // Placing the window also tells the display the size it kept.
    SetWindowPos(root, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Moved(HWND root, int x, int y) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(root);
    object->rect = RECT{x, y, x + (object->rect.right - object->rect.left), y + (object->rect.bottom - object->rect.top)};
}

}  // namespace

void HandleDisplayEvent(ThreadQueue& queue, const DisplayEvent& event) {
    HWND root;
    {
        WindowGuard guard(WindowLock());
        root = WindowOfNative(queue, event.window);
        if (!root) return;
        if (event.kind == DisplayEvent::Kind::Expose) {
            FindWindowObject(root)->needsPresent = true;
            return;
        }
    }
    const POINT point{event.x, event.y};
    switch (event.kind) {
        case DisplayEvent::Kind::ButtonDown: ButtonDown(queue, root, point); break;
        case DisplayEvent::Kind::ButtonUp: ButtonUp(queue, root, point); break;
        case DisplayEvent::Kind::MouseMove: MouseMove(queue, root, point); break;
        case DisplayEvent::Kind::KeyDown:
            queue.shiftDown = event.shift;
            if (IsWindowEnabled(root)) PostTo(KeyTarget(queue, root), WM_KEYDOWN, event.key, 1);
            break;
        case DisplayEvent::Kind::Char:
            if (IsWindowEnabled(root)) PostTo(KeyTarget(queue, root), WM_CHAR, event.key, 1);
            break;
        case DisplayEvent::Kind::Moved: Moved(root, event.x, event.y); break;
        case DisplayEvent::Kind::Resized: Resized(root, event.width, event.height); break;
        case DisplayEvent::Kind::CloseRequest:
            if (IsWindowEnabled(root)) PostTo(root, WM_CLOSE, 0, 0);
            break;
        case DisplayEvent::Kind::Expose: break;
    }
}

}  // namespace ui
