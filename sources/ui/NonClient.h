// The non-client frame of a window, from its style: title bar, borders and
// scroll bars (the metrics are stated in ui/Windows.h).
#pragma once

#include "ui/Types.h"

namespace ui {

struct FrameInsets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

FrameInsets NonClientInsets(DWORD style, bool child);
int BorderWidth(DWORD style, bool child);
bool HasCaption(DWORD style, bool child);

// The client rectangle inside a window rectangle, in the same coordinates.
RECT ClientRectIn(const RECT& windowRect, DWORD style, bool child);
// The window rectangle around a client rectangle.
RECT WindowRectAround(const RECT& clientRect, DWORD style, bool child);

}  // namespace ui
