// The display backend: what the window system asks of the screen it shows its
// windows on. The window system keeps every window, surface and message itself;
// a display only shows top-level windows and reports input.
//
// Each thread that owns top-level windows has a connection of its own, opened
// the first time the thread needs one and closed when the thread ends; all calls
// on a connection come from its thread. The connection shows one native window
// per top-level window.
//
// Waiting: GetMessage sleeps in WaitForEvents, which must return as soon as the
// connection may have an event or the thread's wake signal is set (another
// thread posted or sent a message). A backend folds the wake signal's descriptor
// into its own wait (Platform::WaitForReadable).
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ui/System.h"
#include "ui/Types.h"

namespace Platform {
class WakeSignal;
}

namespace ui {

// 0 names no window. A window's owner may live on another thread, so its number
// must mean the same window on every connection (for X11, the window's id).
using NativeWindow = uint64_t;

enum class NativeKind { Normal, ToolWindow, Dialog };
enum class CursorShape { Arrow, Wait };

struct NativeWindowTraits {
    RECT frame;    // the window rectangle in screen pixels, frame included
    RECT client;   // the client area in screen pixels
    std::string title;
    NativeWindow owner = 0;  // shown transient for this window
    NativeKind kind = NativeKind::Normal;
    bool topmost = false;    // kept above the other windows
    bool resizable = false;  // false: the size is fixed
    SIZE minimum;            // smallest window size when resizable (0: no limit)
};

// A composed picture of a whole window: frame and client area, 0xAARRGGBB pixels
// (alpha 0xFF), `stride` bytes per row; the client area lies at
// (client.left - frame.left, client.top - frame.top).
struct PixelView {
    const uint32_t* pixels;
    int width;
    int height;
    int stride;
};

struct DisplayEvent {
    enum class Kind {
        ButtonDown,    // left button; x, y: client coordinates
        ButtonUp,      // left button; x, y: client coordinates
        MouseMove,     // x, y: client coordinates
        KeyDown,       // key: a virtual key (VK_*, or 'A'..'Z', '0'..'9')
        Char,          // key: the character typed
        Expose,        // the window must be shown again (Present)
        Moved,         // x, y: the new top-left of the window rectangle on the screen
        Resized,       // width, height: the new client size
        CloseRequest,  // the user asked to close the window
    };
    Kind kind;
    NativeWindow window;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    WPARAM key = 0;
    bool shift = false;  // KeyDown: a Shift key is held
};

class DisplayConnection {
public:
    virtual ~DisplayConnection() = default;

    virtual RECT WorkArea() = 0;    // the screen without the desktop's panels
    virtual SIZE ScreenSize() = 0;

    // 0 when the window cannot be made. A new window is hidden.
    virtual NativeWindow CreateNativeWindow(const NativeWindowTraits& traits) = 0;
    virtual void DestroyNativeWindow(NativeWindow window) = 0;
    // Title, owner, kind, topmost, size hints and place, as they are now.
    virtual void UpdateNativeWindow(NativeWindow window, const NativeWindowTraits& traits) = 0;
    virtual void ShowNativeWindow(NativeWindow window, bool visible) = 0;
    virtual void RaiseNativeWindow(NativeWindow window) = 0;
    virtual void Present(NativeWindow window, const PixelView& picture) = 0;
    virtual void SetNativeCursor(NativeWindow window, CursorShape shape) = 0;
    virtual void SetNativeIcon(NativeWindow window, std::span<const IconImage> images) = 0;

    // The next pending event without waiting; false when there is none.
    virtual bool NextEvent(DisplayEvent& event) = 0;
    // Returns after timeoutMilliseconds at the latest (below 0: no limit).
    virtual void WaitForEvents(const Platform::WakeSignal& wake, int timeoutMilliseconds) = 0;
};

}  // namespace ui
