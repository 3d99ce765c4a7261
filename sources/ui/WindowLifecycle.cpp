// Registering classes, creating and destroying windows.
#include <algorithm>
#include <cstring>

#include "ui/DisplayChoice.h"
#include "ui/Messages.h"
#include "ui/NonClient.h"
#include "ui/Resources.h"
#include "ui/Styles.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

// Where a window goes when its creator leaves the choice to the system.
constexpr int kDefaultX = 40;
constexpr int kDefaultY = 40;
constexpr int kDefaultWidth = 640;
constexpr int kDefaultHeight = 480;

HWND TopLevelOwner(HWND window) {
    if (!window) return nullptr;
    return RootOf(window);
}

std::unique_ptr<WindowObject> NewWindowObject(const ClassRecord& windowClass, DWORD exStyle, const char* name,
                                              DWORD style, RECT rect, HWND parent, HMENU menu) {
    auto object = std::make_unique<WindowObject>();
    object->className = windowClass.name;
    object->procedure = windowClass.record.lpfnWndProc;
    object->classStyle = windowClass.record.style;
    object->background = windowClass.record.hbrBackground;
    object->icon = windowClass.record.hIcon;
    object->style = style & ~WS_VISIBLE;
    object->exStyle = exStyle;
    if (style & WS_CHILD) {
        object->parent = parent;
        object->id = static_cast<int>(reinterpret_cast<intptr_t>(menu));
    } else {
        object->owner = TopLevelOwner(parent);
        // A window stays above its owner, so the window of a topmost owner is topmost too.
        if (WindowObject* owner = FindWindowObject(object->owner); owner && (owner->exStyle & WS_EX_TOPMOST)) {
            object->exStyle |= WS_EX_TOPMOST;
        }
    }
    object->text = name ? name : "";
    object->rect = rect;
    object->queue = CurrentQueueShared();
    InvalidateWhole(*object);
    return object;
}

// Places a new window among its siblings and, for a top-level window, on the display.
bool AttachWindow(WindowObject& object, DisplayConnection* connection) {
    if (object.parent) {
        FindWindowObject(object.parent)->children.push_back(object.handle);
        return true;
    }
    object.native = connection->CreateNativeWindow(TraitsOf(object));
    if (!object.native) return false;
    if (object.icon) connection->SetNativeIcon(object.native, object.icon->images);
    PlaceTopLevel(object.handle, (object.exStyle & WS_EX_TOPMOST) ? HWND_TOPMOST : HWND_TOP);
    return true;
}

void DetachWindow(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return;
    if (object->parent) {
        if (WindowObject* parent = FindWindowObject(object->parent)) {
            std::erase(parent->children, window);
            MarkNeedsPresent(object->parent);
        }
    }
    if (object->native) {
        if (DisplayConnection* connection = ConnectionOfWindow(*object)) {
            connection->DestroyNativeWindow(object->native);
        }
    }
    if (ClassRecord* windowClass = FindClass(object->className)) --windowClass->windows;
    {
        // What was posted to the window goes with it.
        std::lock_guard<std::mutex> lock(object->queue->lock);
        std::erase_if(object->queue->posted, [window](const MSG& message) { return message.hwnd == window; });
    }
    ForgetWindow(window);
    RemoveWindowObject(window);
}

}  // namespace

WORD RegisterClassEx(const WNDCLASSEX* windowClass) {
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc) return 0;
    EnsureBuiltInClasses();
    WindowGuard guard(WindowLock());
    if (FindClass(windowClass->lpszClassName)) return 0;
    AddClass(*windowClass);
    static WORD atom = 0xC000;
    return ++atom;
}

BOOL UnregisterClass(const char* className, HINSTANCE) {
    if (!className) return FALSE;
    WindowGuard guard(WindowLock());
    ClassRecord* windowClass = FindClass(className);
    if (!windowClass || windowClass->windows > 0) return FALSE;
    return RemoveClass(className) ? TRUE : FALSE;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param) {
    if (!className) return nullptr;
    EnsureBuiltInClasses();
    const bool child = (style & WS_CHILD) != 0;
    if (child && !IsWindow(parent)) return nullptr;
    DisplayConnection* connection = child ? nullptr : ConnectionOf(CurrentQueue());
    if (!child && !connection) return nullptr;
    if (x == CW_USEDEFAULT) {
        x = kDefaultX;
        y = kDefaultY;
    }
    if (width == CW_USEDEFAULT) {
        width = kDefaultWidth;
        height = kDefaultHeight;
    }

    HWND window;
    {
        WindowGuard guard(WindowLock());
        ClassRecord* windowClass = FindClass(className);
        if (!windowClass) return nullptr;
        RECT rect{x, y, x + std::max(width, 0), y + std::max(height, 0)};
        WindowObject& object = AddWindowObject(
            NewWindowObject(*windowClass, exStyle, windowName, style, rect, parent, menu));
        window = object.handle;
        if (!AttachWindow(object, connection)) {
            RemoveWindowObject(window);
            return nullptr;
        }
        ++windowClass->windows;
    }

    CREATESTRUCT create;
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.x = x;
    create.y = y;
    create.cx = width;
    create.cy = height;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    const LPARAM createParam = reinterpret_cast<LPARAM>(&create);
    if (!SendMessage(window, WM_NCCREATE, 0, createParam) || SendMessage(window, WM_CREATE, 0, createParam) == -1) {
        DestroyWindow(window);
        return nullptr;
    }
    if (!IsWindow(window)) return nullptr;
    RECT client;
    GetClientRect(window, &client);
    SendMessage(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(static_cast<WORD>(client.right), static_cast<WORD>(client.bottom)));
    if (style & WS_VISIBLE) ShowWindow(window, SW_SHOW);
    return window;
}

BOOL DestroyWindow(HWND window) {
    std::vector<HWND> owned;
    std::vector<HWND> children;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object || !IsCurrentThread(object->queue.get()) || object->destroying) return FALSE;
        object->destroying = true;
        for (HWND other : TopLevelOrder()) {
            if (FindWindowObject(other)->owner == window) owned.push_back(other);
        }
        children = object->children;
    }
    for (HWND other : owned) DestroyWindow(other);
    if (IsWindowVisible(window)) ShowWindow(window, SW_HIDE);
    SendMessage(window, WM_DESTROY, 0, 0);
    for (HWND child : children) DestroyWindow(child);
    SendMessage(window, WM_NCDESTROY, 0, 0);
    DetachWindow(window);
    return TRUE;
}

BOOL IsWindow(HWND window) {
    WindowGuard guard(WindowLock());
    return FindWindowObject(window) ? TRUE : FALSE;
}

}  // namespace ui
