// Text in the window system's one face, DejaVu Sans.
#pragma once

#include <cairo.h>

#include <string>

#include "ui/Types.h"

namespace ui {

enum class TextAlign { Left, Centre };

constexpr double kTextSize = 10.0;  // pixels

// Draws one line of text, vertically centred in the box, clipped to it.
void DrawTextLine(cairo_t* cairo, const std::string& text, const RECT& box, TextAlign align, COLORREF color,
                  bool bold = false);
// The width in pixels that the text takes.
int TextWidth(const std::string& text);

}  // namespace ui
