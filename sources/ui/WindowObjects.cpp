// Handles are numbers that are never given twice, so a stale handle finds nothing.
#include "ui/WindowObjects.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "ui/NonClient.h"
#include "ui/Styles.h"

namespace ui {
namespace {

struct Tables {
    std::unordered_map<uintptr_t, std::unique_ptr<WindowObject>> windows;
    std::map<std::string, std::unique_ptr<ClassRecord>> classes;
    std::vector<HWND> topLevel;
    HWND active = nullptr;
    uintptr_t nextHandle = 0x10;
};

Tables& State() {
    static Tables* tables = new Tables;  // lives on through the exit of every thread
    return *tables;
}

bool IsTopmost(HWND window) {
    WindowObject* object = FindWindowObject(window);
    return object && (object->exStyle & WS_EX_TOPMOST);
}

}  // namespace

bool WindowObject::Visible() const { return (style & WS_VISIBLE) != 0; }
bool WindowObject::Enabled() const { return (style & WS_DISABLED) == 0; }

WindowObject::~WindowObject() {
    if (surface) cairo_surface_destroy(surface);
}

std::recursive_mutex& WindowLock() {
    static std::recursive_mutex* lock = new std::recursive_mutex;
    return *lock;
}

WindowObject* FindWindowObject(HWND window) {
    auto& windows = State().windows;
    auto found = windows.find(reinterpret_cast<uintptr_t>(window));
    return found == windows.end() ? nullptr : found->second.get();
}

WindowObject& AddWindowObject(std::unique_ptr<WindowObject> window) {
    Tables& state = State();
    state.nextHandle += 4;
    window->handle = reinterpret_cast<HWND>(state.nextHandle);
    WindowObject& added = *window;
    state.windows.emplace(state.nextHandle, std::move(window));
    return added;
}

HWND& ActiveWindow() { return State().active; }

HWND DesktopHandle() { return reinterpret_cast<HWND>(uintptr_t{0x8}); }

void RemoveWindowObject(HWND window) {
    Tables& state = State();
    if (state.active == window) {
        WindowObject* object = FindWindowObject(window);
        state.active = object && FindWindowObject(object->owner) ? object->owner : nullptr;
    }
    std::erase(state.topLevel, window);
    state.windows.erase(reinterpret_cast<uintptr_t>(window));
}

std::vector<HWND> WindowsOfQueue(const ThreadQueue* queue) {
    std::vector<HWND> found;
    for (auto& [key, window] : State().windows) {
        if (window->queue.get() == queue) found.push_back(window->handle);
    }
    return found;
}

ClassRecord* FindClass(const std::string& name) {
    auto& classes = State().classes;
    auto found = classes.find(name);
    return found == classes.end() ? nullptr : found->second.get();
}

ClassRecord* AddClass(const WNDCLASSEX& record) {
    auto added = std::make_unique<ClassRecord>();
    added->name = record.lpszClassName;
    added->record = record;
    added->record.lpszClassName = nullptr;  // the caller's string need not outlive the call
    ClassRecord* result = added.get();
    State().classes.emplace(result->name, std::move(added));
    return result;
}

bool RemoveClass(const std::string& name) { return State().classes.erase(name) > 0; }

std::vector<HWND>& TopLevelOrder() { return State().topLevel; }

void PlaceTopLevel(HWND window, HWND insertAfter) {
    WindowObject* object = FindWindowObject(window);
    if (!object) return;
    auto& order = State().topLevel;
    std::erase(order, window);
    if (insertAfter == HWND_TOPMOST) object->exStyle |= WS_EX_TOPMOST;
    if (insertAfter == HWND_NOTOPMOST) object->exStyle &= ~WS_EX_TOPMOST;
    const bool topmost = (object->exStyle & WS_EX_TOPMOST) != 0;
    // The band of the window: topmost windows first, then the others.
    auto bandBegin = order.begin();
    if (!topmost) bandBegin = std::find_if(order.begin(), order.end(), [](HWND w) { return !IsTopmost(w); });
    auto bandEnd = std::find_if(bandBegin, order.end(), [topmost](HWND w) { return IsTopmost(w) != topmost; });
    if (insertAfter == HWND_BOTTOM) {
        order.insert(bandEnd, window);
        return;
    }
    auto after = std::find(bandBegin, bandEnd, insertAfter);
    if (after != bandEnd) {
        order.insert(after + 1, window);
    } else {
        order.insert(bandBegin, window);
    }
}

HWND RootOf(HWND window) {
    WindowObject* object = FindWindowObject(window);
    while (object && object->parent) {
        window = object->parent;
        object = FindWindowObject(window);
    }
    return object ? window : nullptr;
}

SIZE ClientSize(const WindowObject& window) {
    RECT client = ClientRectIn(window.rect, window.style, window.IsChild());
    return SIZE{client.right - client.left, client.bottom - client.top};
}

POINT ClientOrigin(HWND window) {
    POINT origin;
    WindowObject* object = FindWindowObject(window);
    while (object) {
        RECT client = ClientRectIn(object->rect, object->style, object->IsChild());
        origin.x += client.left;
        origin.y += client.top;
        object = object->parent ? FindWindowObject(object->parent) : nullptr;
    }
    return origin;
}

}  // namespace ui
