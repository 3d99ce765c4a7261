#include "ui/x11/X11DisplayConnection.h"

#include <X11/cursorfont.h>

#include <algorithm>
#include <vector>

#include "ui/x11/X11Connection.h"
#include "ui/x11/X11Open.h"
#include "ui/x11/X11Properties.h"

namespace ui {
namespace {

// A caption without its control characters: a caption may end in the line
// break of the line it was made from, which a window manager draws as a box.
std::string TitleShown(const std::string& caption) {
    std::string title;
    for (char c : caption) {
        if (static_cast<unsigned char>(c) >= 0x20) title += c;
    }
    return title;
}

// _MOTIF_WM_HINTS: flags (decorations given), functions, decorations (none), input mode, status.
constexpr std::array<unsigned long, 5> kNoDecorations{2, 0, 0, 0, 0};

constexpr LONG Width(const RECT& rect) { return rect.right - rect.left; }
constexpr LONG Height(const RECT& rect) { return rect.bottom - rect.top; }

// A title bar makes the top inset deeper than the side ones; such windows get
// the window manager's frame instead of ours.
bool HasTitleBar(const NativeWindowTraits& traits) {
    return traits.client.top - traits.frame.top > traits.client.left - traits.frame.left;
}

SIZE XWindowSize(const NativeWindowTraits& traits, bool decorated) {
    const RECT& shown = decorated ? traits.client : traits.frame;
    return SIZE{std::max<LONG>(Width(shown), 1), std::max<LONG>(Height(shown), 1)};
}

}  // namespace

std::unique_ptr<DisplayConnection> OpenX11Connection() {
    ::Display* display = OpenServer(kServerAnswerLimit);
    if (!display) return nullptr;
    return std::make_unique<X11DisplayConnection>(display);
}

X11DisplayConnection::X11DisplayConnection(::Display* display)
    : display_(display),
      screen_(DefaultScreen(display)),
      root_(RootWindow(display, screen_)),
      gc_(XCreateGC(display, root_, 0, nullptr)),
      atoms_(display) {}

X11DisplayConnection::~X11DisplayConnection() {
    for (const auto& [window, state] : windows_) XDestroyWindow(display_, window);
    for (::Cursor cursor : cursors_) {
        if (cursor) XFreeCursor(display_, cursor);
    }
    XFreeGC(display_, gc_);
    XCloseDisplay(display_);
}

SIZE X11DisplayConnection::ScreenSize() {
    return SIZE{DisplayWidth(display_, screen_), DisplayHeight(display_, screen_)};
}

// The window manager publishes one work area per desktop; without one the
// whole screen is the work area.
RECT X11DisplayConnection::WorkArea() {
    const auto areas = ReadLongs(display_, root_, atoms_[AtomId::NetWorkArea], XA_CARDINAL);
    const auto desktop = ReadLongs(display_, root_, atoms_[AtomId::NetCurrentDesktop], XA_CARDINAL);
    const size_t first = desktop.empty() ? 0 : 4 * desktop[0];
    if (first + 4 <= areas.size()) {
        const auto x = static_cast<LONG>(areas[first]);
        const auto y = static_cast<LONG>(areas[first + 1]);
        return RECT{x, y, x + static_cast<LONG>(areas[first + 2]), y + static_cast<LONG>(areas[first + 3])};
    }
    const SIZE screen = ScreenSize();
    return RECT{0, 0, screen.cx, screen.cy};
}

X11DisplayConnection::WindowState* X11DisplayConnection::Find(NativeWindow window) {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}

NativeWindow X11DisplayConnection::CreateNativeWindow(const NativeWindowTraits& traits) {
    WindowState state;
    state.decorated = HasTitleBar(traits);
    state.size = XWindowSize(traits, state.decorated);
    state.frameOrigin = POINT{traits.frame.left, traits.frame.top};
    state.popUp = !state.decorated && traits.owner != 0;
    if (state.popUp) state.serverOffset = ClientOffsetOf(traits.owner);
    XSetWindowAttributes attributes{};
    attributes.override_redirect = state.popUp ? True : False;
    attributes.background_pixel = WhitePixel(display_, screen_);
    attributes.bit_gravity = NorthWestGravity;
    attributes.event_mask = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                            PointerMotionMask | KeyPressMask;
    const Window window = XCreateWindow(
        display_, root_, traits.frame.left + state.serverOffset.x, traits.frame.top + state.serverOffset.y,
        static_cast<unsigned>(state.size.cx), static_cast<unsigned>(state.size.cy), 0, CopyFromParent, InputOutput,
        CopyFromParent, CWBackPixel | CWBitGravity | CWEventMask | CWOverrideRedirect, &attributes);
    if (!window) return 0;

    Atom protocols[] = {atoms_[AtomId::WmDeleteWindow]};
    XSetWMProtocols(display_, window, protocols, 1);
    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(display_, window, &hints);
    char className[sizeof kWindowClassName];
    std::copy(std::begin(kWindowClassName), std::end(kWindowClassName), className);
    XClassHint windowClass{className, className};
    XSetClassHint(display_, window, &windowClass);
    if (!state.decorated) {
        WriteLongs(display_, window, atoms_[AtomId::MotifWmHints], atoms_[AtomId::MotifWmHints], kNoDecorations);
    }
    WindowState& stored = windows_[window] = state;
    ApplyTraits(window, stored, traits);
    XFlush(display_);
    return window;
}

void X11DisplayConnection::DestroyNativeWindow(NativeWindow window) {
    if (!windows_.erase(window)) return;
    XDestroyWindow(display_, window);
    std::erase_if(pending_, [window](const DisplayEvent& event) { return event.window == window; });
    XFlush(display_);
}

void X11DisplayConnection::UpdateNativeWindow(NativeWindow window, const NativeWindowTraits& traits) {
    if (WindowState* state = Find(window)) {
        ApplyTraits(window, *state, traits);
        XFlush(display_);
    }
}

void X11DisplayConnection::ApplyTraits(Window window, WindowState& state, const NativeWindowTraits& traits) {
    state.clientInset = POINT{traits.client.left - traits.frame.left, traits.client.top - traits.frame.top};
    state.nonClient = SIZE{Width(traits.frame) - Width(traits.client), Height(traits.frame) - Height(traits.client)};
    const Atom utf8 = atoms_[AtomId::Utf8String];
    const std::string title = TitleShown(traits.title);
    WriteText(display_, window, XA_WM_NAME, utf8, title);
    WriteText(display_, window, atoms_[AtomId::NetWmName], utf8, title);
    if (traits.owner) {
        XSetTransientForHint(display_, window, traits.owner);
    } else {
        XDeleteProperty(display_, window, XA_WM_TRANSIENT_FOR);
    }
    const AtomId type = traits.kind == NativeKind::ToolWindow ? AtomId::NetWmWindowTypeUtility
                        : traits.kind == NativeKind::Dialog   ? AtomId::NetWmWindowTypeDialog
                                                            : AtomId::NetWmWindowTypeNormal;
    const unsigned long types[] = {atoms_[type]};
    WriteLongs(display_, window, atoms_[AtomId::NetWmWindowType], XA_ATOM, types);
    SetTopmost(window, state, traits.topmost);

    const POINT origin{traits.frame.left, traits.frame.top};
    const SIZE size = XWindowSize(traits, state.decorated);
    SetSizeHints(window, state, traits);
    if (origin.x != state.frameOrigin.x || origin.y != state.frameOrigin.y || size.cx != state.size.cx ||
        size.cy != state.size.cy) {
        state.frameOrigin = origin;
        state.size = size;
        XMoveResizeWindow(display_, window, origin.x + state.serverOffset.x, origin.y + state.serverOffset.y,
                          static_cast<unsigned>(size.cx), static_cast<unsigned>(size.cy));
    }
}

// North-west gravity: the window manager puts its frame's top-left where the
// window is placed, so the window rectangle's origin is where the user sees the window.
void X11DisplayConnection::SetSizeHints(Window window, const WindowState& state, const NativeWindowTraits& traits) {
    XSizeHints hints{};
    hints.flags = PPosition | USPosition | PWinGravity;
    hints.win_gravity = NorthWestGravity;
    hints.x = traits.frame.left;
    hints.y = traits.frame.top;
    const SIZE size = XWindowSize(traits, state.decorated);
    if (!traits.resizable) {
        hints.flags |= PMinSize | PMaxSize;
        hints.min_width = hints.max_width = size.cx;
        hints.min_height = hints.max_height = size.cy;
    } else if (traits.minimum.cx > 0 || traits.minimum.cy > 0) {
        // The minimum is a window size; the window manager limits the X window.
        const SIZE around = state.decorated ? state.nonClient : SIZE{};
        hints.flags |= PMinSize;
        hints.min_width = std::max<LONG>(traits.minimum.cx - around.cx, 1);
        hints.min_height = std::max<LONG>(traits.minimum.cy - around.cy, 1);
    }
    XSetWMNormalHints(display_, window, &hints);
}

// Before the window is mapped the window manager reads the state property;
// afterwards it only listens to requests.
void X11DisplayConnection::SetTopmost(Window window, WindowState& state, bool topmost) {
    if (!state.mapped) {
        WriteTopmostState(window, topmost);
    } else if (topmost != state.topmost) {
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = window;
        request.xclient.message_type = atoms_[AtomId::NetWmState];
        request.xclient.format = 32;
        request.xclient.data.l[0] = topmost ? 1 : 0;  // add or remove
        request.xclient.data.l[1] = static_cast<long>(atoms_[AtomId::NetWmStateAbove]);
        request.xclient.data.l[3] = 1;  // from a normal application
        XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &request);
    }
    state.topmost = topmost;
}

void X11DisplayConnection::WriteTopmostState(Window window, bool topmost) {
    const unsigned long above[] = {atoms_[AtomId::NetWmStateAbove]};
    WriteLongs(display_, window, atoms_[AtomId::NetWmState], XA_ATOM,
               std::span<const unsigned long>(above, topmost ? 1 : 0));
}

void X11DisplayConnection::ShowNativeWindow(NativeWindow window, bool visible) {
    WindowState* state = Find(window);
    if (!state || state->mapped == visible) return;
    if (visible) {
        // A withdrawn window has lost its state; the window manager reads it anew.
        WriteTopmostState(window, state->topmost);
        if (state->popUp) {
            XMapRaised(display_, window);  // no window manager stacks it
        } else {
            XMapWindow(display_, window);
        }
    } else {
        XWithdrawWindow(display_, window, screen_);
    }
    state->mapped = visible;
    XFlush(display_);
}

// A framed owner's client area lies where the window manager's frame puts it,
// not where the window system's own frame metrics would.
POINT X11DisplayConnection::ClientOffsetOf(NativeWindow owner) {
    const WindowState* state = Find(owner);
    if (!state || !state->decorated) return POINT{};
    const auto extents = ReadLongs(display_, owner, atoms_[AtomId::NetFrameExtents], XA_CARDINAL);
    const bool framed = extents.size() == 4;  // left, right, top, bottom
    return POINT{(framed ? static_cast<LONG>(extents[0]) : 0) - state->clientInset.x,
                 (framed ? static_cast<LONG>(extents[2]) : 0) - state->clientInset.y};
}

void X11DisplayConnection::RaiseNativeWindow(NativeWindow window) {
    if (!Find(window)) return;
    XRaiseWindow(display_, window);
    XFlush(display_);
}

void X11DisplayConnection::Present(NativeWindow window, const PixelView& picture) {
    const WindowState* state = Find(window);
    if (!state || !picture.pixels) return;
    const POINT offset = state->decorated ? state->clientInset : POINT{};
    const int width = std::min<int>(state->size.cx, picture.width - offset.x);
    const int height = std::min<int>(state->size.cy, picture.height - offset.y);
    if (width <= 0 || height <= 0 || offset.x < 0 || offset.y < 0) return;
    const char* first = reinterpret_cast<const char*>(picture.pixels) +
                        static_cast<size_t>(offset.y) * picture.stride + static_cast<size_t>(offset.x) * 4;
    XImage* image = XCreateImage(display_, DefaultVisual(display_, screen_), 24, ZPixmap, 0, const_cast<char*>(first),
                                 static_cast<unsigned>(width), static_cast<unsigned>(height), 32, picture.stride);
    if (!image) return;
    XPutImage(display_, window, gc_, image, 0, 0, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height));
    image->data = nullptr;  // the pixels stay the window system's
    XDestroyImage(image);
    XFlush(display_);
}

void X11DisplayConnection::SetNativeCursor(NativeWindow window, CursorShape shape) {
    if (!Find(window)) return;
    ::Cursor& cursor = cursors_[static_cast<size_t>(shape)];
    if (!cursor) cursor = XCreateFontCursor(display_, shape == CursorShape::Wait ? XC_watch : XC_left_ptr);
    XDefineCursor(display_, window, cursor);
    XFlush(display_);
}

// _NET_WM_ICON: for each image its width, height and pixels, 0xAARRGGBB, rows top-down.
void X11DisplayConnection::SetNativeIcon(NativeWindow window, std::span<const IconImage> images) {
    if (!Find(window)) return;
    std::vector<unsigned long> items;
    for (const IconImage& image : images) {
        items.push_back(static_cast<unsigned long>(image.width));
        items.push_back(static_cast<unsigned long>(image.height));
        items.insert(items.end(), image.pixels, image.pixels + static_cast<size_t>(image.width) * image.height);
    }
    if (items.empty()) {
        XDeleteProperty(display_, window, atoms_[AtomId::NetWmIcon]);
    } else {
        WriteLongs(display_, window, atoms_[AtomId::NetWmIcon], XA_CARDINAL, items);
    }
    XFlush(display_);
}

}  // namespace ui
