// The window system's own records of classes and windows, and the one lock that
// guards them. Any thread may read a window's fields (under the lock); only the
// window's own thread runs its procedure, and procedures always run unlocked.
#pragma once

#include <cairo.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ui/Display.h"
#include "ui/Types.h"

namespace ui {

struct ThreadQueue;

struct ScrollBarState {
    int min = 0;
    int max = 0;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
};

// Data that a built-in control keeps beside its window.
struct ControlState {
    virtual ~ControlState() = default;
};

struct WindowObject {
    HWND handle = nullptr;
    std::string className;
    WNDPROC procedure = nullptr;
    UINT classStyle = 0;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND parent = nullptr;  // child windows
    HWND owner = nullptr;   // top-level windows
    int id = 0;
    std::string text;
    RECT rect;  // screen coordinates for top-level windows, parent client coordinates for children
    std::vector<HWND> children;  // z-order, top first (creation order)
    std::shared_ptr<ThreadQueue> queue;
    bool destroying = false;

    cairo_surface_t* surface = nullptr;  // the client area's pixels, made when first painted
    bool invalid = false;
    bool erase = false;
    RECT invalidRect;

    ScrollBarState scroll[2];
    intptr_t userData = 0;
    intptr_t messageResult = 0;  // DWLP_MSGRESULT

    DLGPROC dialogProcedure = nullptr;
    bool dialogEnded = false;
    INT_PTR dialogResult = 0;

    std::unique_ptr<ControlState> control;

    NativeWindow native = 0;  // top-level windows on a display
    bool needsPresent = false;
    std::chrono::steady_clock::time_point presentedAt;  // when its pixels last went to the display
    SIZE minimumTrack;  // from WM_GETMINMAXINFO, for resizable top-level windows

    bool IsChild() const { return parent != nullptr; }
    bool Visible() const;
    bool Enabled() const;
    ~WindowObject();
};

struct ClassRecord {
    std::string name;
    WNDCLASSEX record;
    int windows = 0;  // windows of the class that exist
};

std::recursive_mutex& WindowLock();
using WindowGuard = std::lock_guard<std::recursive_mutex>;

// The window that a handle names, or null; the lock must be held.
WindowObject* FindWindowObject(HWND window);
WindowObject& AddWindowObject(std::unique_ptr<WindowObject> window);  // gives it its handle
void RemoveWindowObject(HWND window);
std::vector<HWND> WindowsOfQueue(const ThreadQueue* queue);

ClassRecord* FindClass(const std::string& name);
ClassRecord* AddClass(const WNDCLASSEX& record);
bool RemoveClass(const std::string& name);

// Top-level windows in z-order: the topmost band first, then the others.
std::vector<HWND>& TopLevelOrder();
void PlaceTopLevel(HWND window, HWND insertAfter);  // HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST or a window

// The top-level window that keys go to (shown or clicked last), or null.
HWND& ActiveWindow();
// A handle that names the whole screen.
HWND DesktopHandle();

// The top-level window that a window belongs to (itself for a top-level window).
HWND RootOf(HWND window);
// The client area's size in pixels.
SIZE ClientSize(const WindowObject& window);
// The client area's top-left in screen coordinates.
POINT ClientOrigin(HWND window);

}  // namespace ui
