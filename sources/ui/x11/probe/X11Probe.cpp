#include "ui/x11/probe/X11Probe.h"

#include "ui/x11/X11Atoms.h"
#include "ui/x11/X11Open.h"
#include "ui/x11/X11Properties.h"

namespace ui::x11probe {

struct X11Probe::Connection {
    explicit Connection(::Display* opened) : display(opened), root(DefaultRootWindow(opened)), atoms(opened) {}
    ~Connection() { XCloseDisplay(display); }  // the panel goes with the connection

    ::Display* display;
    Window root;
    X11Atoms atoms;

    Atom Intern(const char* name) { return XInternAtom(display, name, False); }

    std::vector<unsigned long> Longs(Window window, AtomId property, Atom type) {
        return ReadLongs(display, window, atoms[property], type);
    }
    std::vector<std::string> AtomNames(Window window, AtomId property) {
        std::vector<std::string> names;
        for (unsigned long atom : Longs(window, property, XA_ATOM)) {
            if (char* name = XGetAtomName(display, atom)) {
                names.emplace_back(name);
                XFree(name);
            }
        }
        return names;
    }
};

X11Probe::X11Probe() {
    if (::Display* display = OpenServer(kServerAnswerLimit)) connection_ = std::make_unique<Connection>(display);
}

X11Probe::~X11Probe() = default;

bool X11Probe::Connected() const { return connection_ != nullptr; }

uint64_t X11Probe::FindManaged(const std::string& title) {
    for (unsigned long window : connection_->Longs(connection_->root, AtomId::NetClientList, XA_WINDOW)) {
        if (Title(window) == title) return window;
    }
    return 0;
}

std::vector<uint64_t> X11Probe::Stacking() {
    const auto windows = connection_->Longs(connection_->root, AtomId::NetClientListStacking, XA_WINDOW);
    return std::vector<uint64_t>(windows.begin(), windows.end());
}

std::vector<uint64_t> X11Probe::PopUps() {
    ::Display* display = connection_->display;
    Window rootOfTree = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    std::vector<uint64_t> popUps;
    if (!XQueryTree(display, connection_->root, &rootOfTree, &parent, &children, &count)) return popUps;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        XClassHint windowClass{};
        if (!XGetWindowAttributes(display, children[i], &attributes) || !attributes.override_redirect ||
            attributes.map_state != IsViewable || !XGetClassHint(display, children[i], &windowClass)) {
            continue;
        }
        if (std::string(windowClass.res_class) == kWindowClassName) popUps.push_back(children[i]);
        XFree(windowClass.res_name);
        XFree(windowClass.res_class);
    }
    if (children) XFree(children);
    return popUps;
}

std::string X11Probe::Title(uint64_t window) {
    return ReadText(connection_->display, window, connection_->atoms[AtomId::NetWmName],
                    connection_->atoms[AtomId::Utf8String]);
}

std::string X11Probe::LegacyTitle(uint64_t window) {
    return ReadText(connection_->display, window, XA_WM_NAME, connection_->atoms[AtomId::Utf8String]);
}

std::vector<std::string> X11Probe::WindowTypes(uint64_t window) {
    return connection_->AtomNames(window, AtomId::NetWmWindowType);
}

std::vector<std::string> X11Probe::States(uint64_t window) { return connection_->AtomNames(window, AtomId::NetWmState); }

uint64_t X11Probe::TransientFor(uint64_t window) {
    Window owner = 0;
    return XGetTransientForHint(connection_->display, window, &owner) ? owner : 0;
}

SizeLimits X11Probe::Limits(uint64_t window) {
    XSizeHints hints{};
    long supplied = 0;
    SizeLimits limits;
    if (!XGetWMNormalHints(connection_->display, window, &hints, &supplied)) return limits;
    limits.hasMinimum = (hints.flags & PMinSize) != 0;
    limits.hasMaximum = (hints.flags & PMaxSize) != 0;
    limits.minimum = SIZE{hints.min_width, hints.min_height};
    limits.maximum = SIZE{hints.max_width, hints.max_height};
    return limits;
}

std::vector<unsigned long> X11Probe::Icon(uint64_t window) {
    return connection_->Longs(window, AtomId::NetWmIcon, XA_CARDINAL);
}

RECT X11Probe::Client(uint64_t window) {
    XWindowAttributes attributes{};
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XGetWindowAttributes(connection_->display, window, &attributes) ||
        !XTranslateCoordinates(connection_->display, window, connection_->root, 0, 0, &x, &y, &child)) {
        return RECT{};
    }
    return RECT{x, y, x + attributes.width, y + attributes.height};
}

RECT X11Probe::Frame(uint64_t window) {
    const RECT client = Client(window);
    const auto extents = connection_->Longs(window, AtomId::NetFrameExtents, XA_CARDINAL);
    if (extents.size() != 4) return client;
    return RECT{client.left - static_cast<LONG>(extents[0]), client.top - static_cast<LONG>(extents[2]),
                client.right + static_cast<LONG>(extents[1]), client.bottom + static_cast<LONG>(extents[3])};
}

RECT X11Probe::WorkArea() {
    const auto area = connection_->Longs(connection_->root, AtomId::NetWorkArea, XA_CARDINAL);
    if (area.size() < 4) return RECT{};
    const auto x = static_cast<LONG>(area[0]);
    const auto y = static_cast<LONG>(area[1]);
    return RECT{x, y, x + static_cast<LONG>(area[2]), y + static_cast<LONG>(area[3])};
}

bool X11Probe::ReservePanel(int height) {
    ::Display* display = connection_->display;
    const int screen = DefaultScreen(display);
    const int width = DisplayWidth(display, screen);
    const Window panel = XCreateSimpleWindow(display, connection_->root, 0, DisplayHeight(display, screen) - height,
                                             static_cast<unsigned>(width), static_cast<unsigned>(height), 0, 0, 0);
    if (!panel) return false;
    const unsigned long type[] = {connection_->Intern("_NET_WM_WINDOW_TYPE_DOCK")};
    WriteLongs(display, panel, connection_->atoms[AtomId::NetWmWindowType], XA_ATOM, type);
    // Left, right, top and bottom reserved; then the bottom strip's first and last column.
    const unsigned long strut[] = {0, 0, 0, static_cast<unsigned long>(height), 0, 0, 0, 0, 0, 0, 0,
                                   static_cast<unsigned long>(width - 1)};
    WriteLongs(display, panel, connection_->Intern("_NET_WM_STRUT_PARTIAL"), XA_CARDINAL, strut);
    WriteLongs(display, panel, connection_->Intern("_NET_WM_STRUT"), XA_CARDINAL, std::span(strut, 4));
    XMapWindow(display, panel);
    XSync(display, False);
    return true;
}

std::vector<unsigned long> X11Probe::PublishedWorkAreas() {
    return connection_->Longs(connection_->root, AtomId::NetWorkArea, XA_CARDINAL);
}

void X11Probe::PublishWorkAreas(const std::vector<unsigned long>& areas) {
    const Atom property = connection_->atoms[AtomId::NetWorkArea];
    if (areas.empty()) {
        XDeleteProperty(connection_->display, connection_->root, property);
    } else {
        WriteLongs(connection_->display, connection_->root, property, XA_CARDINAL, areas);
    }
    XSync(connection_->display, False);
}

void X11Probe::RequestClose(uint64_t window) {
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = window;
    request.xclient.message_type = connection_->Intern("_NET_CLOSE_WINDOW");
    request.xclient.format = 32;
    request.xclient.data.l[1] = 1;  // from a normal application
    XSendEvent(connection_->display, connection_->root, False, SubstructureRedirectMask | SubstructureNotifyMask,
               &request);
    XFlush(connection_->display);
}

bool X11Probe::Capture(uint64_t window, Pixels& pixels) {
    XWindowAttributes attributes{};
    if (!XGetWindowAttributes(connection_->display, window, &attributes)) return false;
    XImage* image = XGetImage(connection_->display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image) return false;
    pixels.width = attributes.width;
    pixels.height = attributes.height;
    pixels.values.resize(static_cast<size_t>(pixels.width) * pixels.height);
    for (int y = 0; y < pixels.height; ++y) {
        for (int x = 0; x < pixels.width; ++x) {
            pixels.values[static_cast<size_t>(y) * pixels.width + x] = XGetPixel(image, x, y) & 0xFFFFFF;
        }
    }
    XDestroyImage(image);
    return true;
}

}  // namespace ui::x11probe
