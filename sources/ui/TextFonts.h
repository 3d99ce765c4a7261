// The fonts that text is drawn with.
#pragma once

#include <cairo.h>

namespace ui {

// Selects the window system's face (DejaVu Sans, 10 px) on a context, with the
// rendering settings pinned so that text looks the same on every machine.
void SelectTextFace(cairo_t* cairo, bool bold);

}  // namespace ui
