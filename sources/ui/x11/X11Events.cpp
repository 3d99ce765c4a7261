// The server's events as display events, and the thread's wait for them.
#include "platform/Wake.h"
#include "ui/x11/X11DisplayConnection.h"
#include "ui/x11/X11Keys.h"
#include "ui/x11/X11Properties.h"

namespace ui {

bool X11DisplayConnection::NextEvent(DisplayEvent& event) {
    while (pending_.empty() && XPending(display_) > 0) {
        XEvent next;
        XNextEvent(display_, &next);
        Translate(next);
    }
    if (pending_.empty()) return false;
    event = pending_.front();
    pending_.pop_front();
    return true;
}

// Xlib may hold events it has read already while waiting for a reply; those
// leave nothing to read on the connection, so they are looked for first.
void X11DisplayConnection::WaitForEvents(const Platform::WakeSignal& wake, int timeoutMilliseconds) {
    XFlush(display_);
    if (!pending_.empty() || XEventsQueued(display_, QueuedAlready) > 0) return;
    const int descriptors[] = {ConnectionNumber(display_), wake.Descriptor()};
    Platform::WaitForReadable(descriptors, timeoutMilliseconds);
}

// Undecorated X windows show the whole window; the pointer is reported in client coordinates.
POINT X11DisplayConnection::PointerInClient(const WindowState& state, int x, int y) const {
    if (state.decorated) return POINT{x, y};
    return POINT{x - state.clientInset.x, y - state.clientInset.y};
}

void X11DisplayConnection::Translate(const XEvent& event) {
    const NativeWindow window = event.xany.window;
    WindowState* state = Find(window);
    if (!state) return;
    switch (event.type) {
        case ButtonPress:
        case ButtonRelease: {
            if (event.xbutton.button != Button1) return;
            const POINT at = PointerInClient(*state, event.xbutton.x, event.xbutton.y);
            const auto kind = event.type == ButtonPress ? DisplayEvent::Kind::ButtonDown : DisplayEvent::Kind::ButtonUp;
            pending_.push_back(DisplayEvent{kind, window, at.x, at.y});
            return;
        }
        case MotionNotify: {
            const POINT at = PointerInClient(*state, event.xmotion.x, event.xmotion.y);
            pending_.push_back(DisplayEvent{DisplayEvent::Kind::MouseMove, window, at.x, at.y});
            return;
        }
        case KeyPress:
            TranslateKey(event.xkey);
            return;
        case kXExposeEvent:
            // The last of a series: the whole window is shown again at once.
            if (event.xexpose.count == 0) pending_.push_back(DisplayEvent{DisplayEvent::Kind::Expose, window});
            return;
        case ConfigureNotify:
            TranslateConfigure(event.xconfigure, *state);
            return;
        case ReparentNotify:
            state->inManagerFrame = event.xreparent.parent != root_;
            return;
        case ClientMessage:
            if (event.xclient.message_type == atoms_[AtomId::WmProtocols] &&
                static_cast<Atom>(event.xclient.data.l[0]) == atoms_[AtomId::WmDeleteWindow]) {
                pending_.push_back(DisplayEvent{DisplayEvent::Kind::CloseRequest, window});
            }
            return;
        default:
            return;
    }
}

// The server reports a framed window's place relative to the frame; the
// window manager follows with a synthetic event in screen coordinates, which
// is the one that tells where the window now is. Its frame's top-left is the
// window rectangle's origin.
void X11DisplayConnection::TranslateConfigure(const XConfigureEvent& event, WindowState& state) {
    if (event.width != state.size.cx || event.height != state.size.cy) {
        state.size = SIZE{event.width, event.height};
        const SIZE around = state.decorated ? SIZE{} : state.nonClient;
        DisplayEvent resized{DisplayEvent::Kind::Resized, event.window};
        resized.width = event.width - around.cx;
        resized.height = event.height - around.cy;
        pending_.push_back(resized);
    }
    if (!event.send_event && state.inManagerFrame) return;
    const auto extents = event.send_event
                             ? ReadLongs(display_, event.window, atoms_[AtomId::NetFrameExtents], XA_CARDINAL)
                             : std::vector<unsigned long>{};
    const bool framed = extents.size() == 4;  // left, right, top, bottom
    const POINT origin{event.x - (framed ? static_cast<LONG>(extents[0]) : 0) - state.serverOffset.x,
                       event.y - (framed ? static_cast<LONG>(extents[2]) : 0) - state.serverOffset.y};
    if (origin.x == state.frameOrigin.x && origin.y == state.frameOrigin.y) return;
    state.frameOrigin = origin;
    pending_.push_back(DisplayEvent{DisplayEvent::Kind::Moved, event.window, origin.x, origin.y});
}

// A key with a virtual key gives that (TranslateMessage makes its character);
// any other key that types a character gives the character.
void X11DisplayConnection::TranslateKey(XKeyEvent event) {
    char text[8];
    KeySym keysym = 0;
    const int length = XLookupString(&event, text, sizeof text, &keysym, nullptr);
    DisplayEvent key{DisplayEvent::Kind::KeyDown, event.window};
    key.key = VirtualKeyOf(keysym);
    key.shift = (event.state & ShiftMask) != 0;
    if (!key.key) {
        if (length != 1) return;
        key.kind = DisplayEvent::Kind::Char;
        key.key = static_cast<unsigned char>(text[0]);
    }
    pending_.push_back(key);
}

}  // namespace ui
