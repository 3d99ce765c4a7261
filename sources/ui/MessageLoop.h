// The inner steps of the message loop that dialogs' modal loops share.
#pragma once

#include <cairo.h>

#include "ui/Display.h"
#include "ui/Types.h"

namespace ui {

struct ThreadQueue;

// Turns a display event into this thread's messages.
void HandleDisplayEvent(ThreadQueue& queue, const DisplayEvent& event);
// Composes and shows every top-level window of the thread that changed, but
// none more often than a display refreshes. The milliseconds until a window
// held back is due, or -1 when none is.
int PresentChangedWindows(ThreadQueue& queue);
// Composes a top-level window's picture (frame, client area, children); the
// caller destroys it. Null for no window. On the window's own thread.
cairo_surface_t* ComposeWindow(HWND window);

}  // namespace ui
