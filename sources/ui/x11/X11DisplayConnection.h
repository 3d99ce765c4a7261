// One thread's connection to the X server: a top-level X window per native
// window, its hints for the window manager, its pixels, and the server's events
// turned into display events.
//
// Windows with a title bar are framed by the window manager: their X window is
// the client area, and a window placed at (x, y) has the window manager's frame
// there (north-west gravity), as the user sees it. Windows without a title bar
// are left undecorated and show the whole picture, frame included; those with
// an owner (drop-down lists) are pop-ups that the window manager leaves alone
// (override-redirect): no frame, no placement of its own, no focus.
#pragma once

#include <array>
#include <deque>
#include <map>

#include "ui/Display.h"
#include "ui/x11/X11Atoms.h"
#include "ui/x11/XlibHeaders.h"

namespace ui {

class X11DisplayConnection final : public DisplayConnection {
public:
    explicit X11DisplayConnection(::Display* display);  // takes the connection over
    ~X11DisplayConnection() override;
    X11DisplayConnection(const X11DisplayConnection&) = delete;
    X11DisplayConnection& operator=(const X11DisplayConnection&) = delete;

    RECT WorkArea() override;
    SIZE ScreenSize() override;
    NativeWindow CreateNativeWindow(const NativeWindowTraits& traits) override;
    void DestroyNativeWindow(NativeWindow window) override;
    void UpdateNativeWindow(NativeWindow window, const NativeWindowTraits& traits) override;
    void ShowNativeWindow(NativeWindow window, bool visible) override;
    void RaiseNativeWindow(NativeWindow window) override;
    void Present(NativeWindow window, const PixelView& picture) override;
    void SetNativeCursor(NativeWindow window, CursorShape shape) override;
    void SetNativeIcon(NativeWindow window, std::span<const IconImage> images) override;
    bool NextEvent(DisplayEvent& event) override;
    void WaitForEvents(const Platform::WakeSignal& wake, int timeoutMilliseconds) override;

private:
    struct WindowState {
        bool decorated = true;
        POINT clientInset;  // the client area's top-left in the window rectangle
        SIZE nonClient;     // window size less client size
        POINT frameOrigin;  // the window rectangle's top-left on the screen, as last known
        SIZE size;          // the X window's size: the client area, or the whole window undecorated
        bool mapped = false;
        bool topmost = false;
        bool inManagerFrame = false;  // reparented into the window manager's frame
        bool popUp = false;
        // Where the server has the window less where the window system has it: a
        // pop-up follows where its owner's client area really is on the screen.
        POINT serverOffset;
    };

    WindowState* Find(NativeWindow window);
    void ApplyTraits(Window window, WindowState& state, const NativeWindowTraits& traits);
    void SetSizeHints(Window window, const WindowState& state, const NativeWindowTraits& traits);
    void SetTopmost(Window window, WindowState& state, bool topmost);
    void WriteTopmostState(Window window, bool topmost);
    void Translate(const XEvent& event);
    void TranslateConfigure(const XConfigureEvent& event, WindowState& state);
    void TranslateKey(XKeyEvent event);
    POINT PointerInClient(const WindowState& state, int x, int y) const;
    POINT ClientOffsetOf(NativeWindow owner);

    ::Display* display_;
    int screen_;
    Window root_;
    GC gc_;
    X11Atoms atoms_;
    std::map<NativeWindow, WindowState> windows_;
    std::array<::Cursor, 2> cursors_{};  // by CursorShape, made on first use
    std::deque<DisplayEvent> pending_;   // translated, not yet taken
};

}  // namespace ui
