#include "ui/x11/X11Open.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>

#include "platform/Paths.h"

namespace ui {
namespace {

// What the opening thread and the waiting thread share; the last one frees it.
struct PendingOpen {
    std::mutex lock;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    ::Display* display = nullptr;
};

// A request on a window that the window manager or the user destroyed a moment
// earlier fails on the server; that must not end the process, as Xlib's own
// handler would.
int IgnoreError(::Display*, XErrorEvent*) { return 0; }

bool TakesOurPixels(::Display* display) {
    const int screen = DefaultScreen(display);
    const Visual* visual = DefaultVisual(display, screen);
    if (DefaultDepth(display, screen) != 24 || visual->c_class != TrueColor || visual->red_mask != 0xFF0000 ||
        visual->green_mask != 0xFF00 || visual->blue_mask != 0xFF) {
        return false;
    }
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    bool found = false;
    for (int i = 0; i < count; ++i) found |= formats[i].depth == 24 && formats[i].bits_per_pixel == 32;
    if (formats) XFree(formats);
    return found;
}

::Display* OpenWithin(const std::string& name, std::chrono::milliseconds limit) {
    auto pending = std::make_shared<PendingOpen>();
    try {
        std::thread([pending, name] {
            ::Display* display = XOpenDisplay(name.c_str());
            std::lock_guard<std::mutex> guard(pending->lock);
            if (pending->abandoned) {
                if (display) XCloseDisplay(display);
                return;
            }
            pending->display = display;
            pending->done = true;
            pending->finished.notify_one();
        }).detach();
    } catch (const std::system_error&) {
        return nullptr;
    }
    std::unique_lock<std::mutex> guard(pending->lock);
    if (!pending->finished.wait_for(guard, limit, [&] { return pending->done; })) {
        pending->abandoned = true;
        return nullptr;
    }
    return pending->display;
}

}  // namespace

::Display* OpenServer(std::chrono::milliseconds limit) {
    const char* name = Platform::GetEnvironmentValue("DISPLAY");
    if (!name || !*name) return nullptr;
    static std::once_flag handlerSet;
    std::call_once(handlerSet, [] { XSetErrorHandler(IgnoreError); });
    ::Display* display = OpenWithin(name, limit);
    if (display && !TakesOurPixels(display)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return display;
}

}  // namespace ui
