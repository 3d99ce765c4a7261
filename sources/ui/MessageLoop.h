// The inner steps of the message loop that dialogs' modal loops share.
#pragma once

#include <cairo.h>

#include <chrono>

#include "ui/Display.h"
#include "ui/Types.h"

namespace ui {

struct ThreadQueue;
struct WindowObject;

// Turns a display event into this thread's messages.
void HandleDisplayEvent(ThreadQueue& queue, const DisplayEvent& event);
// A top-level window's pictures go to the display no faster than a screen shows
// them, and its windows are painted only when its next picture may go: a window
// that changes with every message (a progress bar) would otherwise keep the
// display and a processor busy drawing frames nobody sees.
inline constexpr std::chrono::milliseconds kPresentInterval{16};
bool PictureHeldBack(const WindowObject& root, std::chrono::steady_clock::time_point now);
// Composes and shows every top-level window of the thread that changed and is
// not held back. The milliseconds until a window held back is due, or -1 when
// none is.
int PresentChangedWindows(ThreadQueue& queue);
// Composes a top-level window's picture (frame, client area, children); the
// caller destroys it. Null for no window. On the window's own thread.
cairo_surface_t* ComposeWindow(HWND window);

}  // namespace ui
