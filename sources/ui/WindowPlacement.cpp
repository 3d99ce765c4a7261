// Showing, placing and enabling windows. A call on another thread's window runs
// on that thread, as the window's display belongs to it.
#include <algorithm>

#include "ui/DisplayChoice.h"
#include "ui/Drawing.h"
#include "ui/Messages.h"
#include "ui/NonClient.h"
#include "ui/Styles.h"
#include "ui/System.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

bool OnOwnerThread(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object && IsCurrentThread(object->queue.get());
}

BOOL ShowOnOwnerThread(HWND window, int command, bool activate) {
    const bool show = command != SW_HIDE;
    bool wasVisible;
    bool topLevel;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return FALSE;
        wasVisible = object->Visible();
        topLevel = !object->IsChild();
    }
    if (show == wasVisible) {
        if (show && topLevel && activate) SetForegroundWindow(window);
        return wasVisible ? TRUE : FALSE;
    }
    SendMessage(window, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    const SIZE minimum = (show && topLevel) ? AskMinimumTrackSize(window) : SIZE{};
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return FALSE;
        if (show) {
            object->style |= WS_VISIBLE;
        } else {
            object->style &= ~WS_VISIBLE;
        }
        MarkNeedsPresent(object->parent ? object->parent : window);
        if (object->native) {
            object->minimumTrack = minimum;
            UpdateNative(*object);
            if (DisplayConnection* connection = ConnectionOfWindow(*object)) {
                connection->ShowNativeWindow(object->native, show);
            }
        }
        if (topLevel && !show && ActiveWindow() == window) {
            ActiveWindow() = object->owner && IsWindowVisible(object->owner) ? object->owner : nullptr;
        }
    }
    if (show && topLevel && activate) SetForegroundWindow(window);
    return wasVisible ? TRUE : FALSE;
}

void ReorderChild(WindowObject& parent, HWND child, HWND insertAfter) {
    auto& siblings = parent.children;
    std::erase(siblings, child);
    if (insertAfter == HWND_BOTTOM) {
        siblings.push_back(child);
        return;
    }
    auto after = std::find(siblings.begin(), siblings.end(), insertAfter);
    siblings.insert(after == siblings.end() ? siblings.begin() : after + 1, child);
}

BOOL PlaceOnOwnerThread(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    bool resized = false;
    SIZE client;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return FALSE;
        RECT rect = object->rect;
        if (!(flags & SWP_NOMOVE)) {
            rect.right += x - rect.left;
            rect.bottom += y - rect.top;
            rect.left = x;
            rect.top = y;
        }
        if (!(flags & SWP_NOSIZE)) {
            rect.right = rect.left + std::max(width, 0);
            rect.bottom = rect.top + std::max(height, 0);
        }
        resized = (rect.right - rect.left != object->rect.right - object->rect.left) ||
                  (rect.bottom - rect.top != object->rect.bottom - object->rect.top);
        if (object->IsChild()) MarkNeedsPresent(object->parent);  // the old place shows the parent again
        object->rect = rect;
        if (!(flags & SWP_NOZORDER)) {
            if (object->IsChild()) {
                ReorderChild(*FindWindowObject(object->parent), window, insertAfter);
            } else {
                PlaceTopLevel(window, insertAfter);
                if (DisplayConnection* connection = ConnectionOfWindow(*object)) {
                    connection->RaiseNativeWindow(object->native);
                }
            }
        }
        if (resized) InvalidateWhole(*object);
        UpdateNative(*object);
        MarkNeedsPresent(window);
        client = ClientSize(*object);
    }
    if (resized) {
        SendMessage(window, WM_SIZE, SIZE_RESTORED,
                    MAKELPARAM(static_cast<WORD>(client.cx), static_cast<WORD>(client.cy)));
    }
    const bool activate = !(flags & SWP_NOACTIVATE);
    if (flags & SWP_SHOWWINDOW) ShowOnOwnerThread(window, SW_SHOW, activate);
    if (flags & SWP_HIDEWINDOW) ShowOnOwnerThread(window, SW_HIDE, false);
    return TRUE;
}

}  // namespace

SIZE AskMinimumTrackSize(HWND window) {
    MINMAXINFO info;
    info.ptMinTrackSize = POINT{GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    SendMessage(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    return SIZE{info.ptMinTrackSize.x, info.ptMinTrackSize.y};
}

BOOL ShowWindow(HWND window, int command) {
    if (!OnOwnerThread(window)) {
        return static_cast<BOOL>(RunOnOwnerThread(window, [=] { return ShowOnOwnerThread(window, command, true); }));
    }
    return ShowOnOwnerThread(window, command, true);
}

BOOL IsWindowVisible(HWND window) {
    WindowGuard guard(WindowLock());
    for (WindowObject* object = FindWindowObject(window); object;
         object = object->parent ? FindWindowObject(object->parent) : nullptr) {
        if (!object->Visible()) return FALSE;
        if (!object->parent) return TRUE;
    }
    return FALSE;
}

BOOL EnableWindow(HWND window, BOOL enable) {
    bool wasDisabled;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return FALSE;
        wasDisabled = !object->Enabled();
        if (wasDisabled == !enable) return wasDisabled ? TRUE : FALSE;
        if (enable) {
            object->style &= ~WS_DISABLED;
        } else {
            object->style |= WS_DISABLED;
        }
        InvalidateWhole(*object);
        MarkNeedsPresent(window);
    }
    if (!enable && GetFocus() == window) SetFocus(nullptr);
    SendMessage(window, WM_ENABLE, enable, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object && object->Enabled() ? TRUE : FALSE;
}

BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
    if (!OnOwnerThread(window)) {
        return static_cast<BOOL>(RunOnOwnerThread(
            window, [=] { return PlaceOnOwnerThread(window, insertAfter, x, y, width, height, flags); }));
    }
    return PlaceOnOwnerThread(window, insertAfter, x, y, width, height, flags);
}

BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint) {
    if (!SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE)) return FALSE;
    if (repaint) InvalidateRect(window, nullptr, TRUE);
    return TRUE;
}

BOOL GetWindowRect(HWND window, RECT* rect) {
    if (!rect) return FALSE;
    if (window == DesktopHandle()) {
        *rect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return TRUE;
    }
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return FALSE;
    *rect = object->rect;
    if (object->parent) {
        const POINT origin = ClientOrigin(object->parent);
        rect->left += origin.x;
        rect->right += origin.x;
        rect->top += origin.y;
        rect->bottom += origin.y;
    }
    return TRUE;
}

BOOL GetClientRect(HWND window, RECT* rect) {
    if (!rect) return FALSE;
    if (window == DesktopHandle()) return GetWindowRect(window, rect);
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return FALSE;
    const SIZE size = ClientSize(*object);
    *rect = RECT{0, 0, size.cx, size.cy};
    return TRUE;
}

BOOL ClientToScreen(HWND window, POINT* point) {
    if (!point) return FALSE;
    if (window == DesktopHandle()) return TRUE;
    WindowGuard guard(WindowLock());
    if (!FindWindowObject(window)) return FALSE;
    const POINT origin = ClientOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

HWND GetParent(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return nullptr;
    return object->parent ? object->parent : object->owner;
}

HWND GetDesktopWindow() { return DesktopHandle(); }

HWND GetDlgItem(HWND dialog, int id) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(dialog);
    if (!object) return nullptr;
    for (HWND child : object->children) {
        if (FindWindowObject(child)->id == id) return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object ? object->id : 0;
}

intptr_t GetWindowLongPtr(HWND window, int index) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return 0;
    switch (index) {
        case GWLP_ID: return object->id;
        case GWL_STYLE: return object->style;
        case GWL_EXSTYLE: return object->exStyle;
        case GWLP_USERDATA: return object->userData;
        default: return index == 0 && object->dialogProcedure ? object->messageResult : 0;
    }
}

intptr_t SetWindowLongPtr(HWND window, int index, intptr_t value) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return 0;
    intptr_t* field = nullptr;
    switch (index) {
        case GWLP_USERDATA: field = &object->userData; break;
        case 0: field = object->dialogProcedure ? &object->messageResult : nullptr; break;
        default: break;
    }
    if (index == GWL_STYLE || index == GWL_EXSTYLE) {
        DWORD& styleField = index == GWL_STYLE ? object->style : object->exStyle;
        const DWORD previous = styleField;
        styleField = static_cast<DWORD>(value);
        MarkNeedsPresent(window);
        return previous;
    }
    if (!field) return 0;
    const intptr_t previous = *field;
    *field = value;
    return previous;
}

HWND SetFocus(HWND window) {
    ThreadQueue& queue = CurrentQueue();
    const HWND previous = queue.focus;
    if (window) {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object || !IsCurrentThread(object->queue.get())) return nullptr;
    }
    if (previous == window) return previous;
    queue.focus = window;
    if (previous) SendMessage(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window && queue.focus == window) SendMessage(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND GetFocus() { return CurrentQueue().focus; }

BOOL SetForegroundWindow(HWND window) {
    WindowGuard guard(WindowLock());
    const HWND root = RootOf(window);
    WindowObject* object = FindWindowObject(root);
    if (!object) return FALSE;
    ActiveWindow() = root;
    if (!(object->exStyle & WS_EX_TOPMOST)) PlaceTopLevel(root, HWND_TOP);
    if (DisplayConnection* connection = ConnectionOfWindow(*object)) connection->RaiseNativeWindow(object->native);
    return TRUE;
}

BOOL SetWindowText(HWND window, const char* text) {
    return SendMessage(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowText(HWND window, char* buffer, int size) {
    if (!buffer || size <= 0) return 0;
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    const std::string text = object ? object->text : std::string();
    const int count = std::min<int>(static_cast<int>(text.size()), size - 1);
    std::copy_n(text.data(), count, buffer);
    buffer[count] = '\0';
    return count;
}

int GetWindowTextLength(HWND window) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object ? static_cast<int>(object->text.size()) : 0;
}

}  // namespace ui
