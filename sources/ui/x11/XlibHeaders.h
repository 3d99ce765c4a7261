// Xlib, included only through here. Xlib defines event and stacking names as
// macros, and some collide with the window system's own names (the display
// event kind Expose, the cursor shape type): they are kept as constants of our
// own where we need them, and undefined.
#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace ui {

inline constexpr int kXExposeEvent = Expose;

}  // namespace ui

#undef Expose
#undef CursorShape
