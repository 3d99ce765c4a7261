// Keys of the X server as the window system's virtual keys.
#pragma once

#include "ui/Types.h"
#include "ui/x11/XlibHeaders.h"

namespace ui {

// 0 for a key the window system has no virtual key for.
WPARAM VirtualKeyOf(KeySym keysym);

}  // namespace ui
