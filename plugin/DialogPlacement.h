// Where a dialog goes over its parent: horizontally centred and a third of the
// way down the parent's client area, then moved left by the width of a caption
// button, and pushed back inside the screen's right and bottom edges.
#pragma once

#include <cstdint>

namespace FormatPlugin {

struct DialogPlacementInput {
    int32_t parentLeft = 0, parentTop = 0;  // the parent's client area, in screen coordinates
    int32_t parentWidth = 0, parentHeight = 0;
    int32_t captionButtonWidth = 0;         // the system's caption button width
    bool hasSystemMenu = true;              // without one, two thirds of that width
    int32_t dialogWidth = 0, dialogHeight = 0;
    int32_t screenWidth = 0, screenHeight = 0;
};

struct DialogPosition {
    int32_t x = 0, y = 0;
};

DialogPosition CenteredDialogPosition(const DialogPlacementInput& in);

}  // namespace FormatPlugin
