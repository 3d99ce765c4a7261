#include "ui/TextDrawing.h"

#include <cmath>

#include "ui/GdiObjects.h"
#include "ui/TextFonts.h"

namespace ui {
namespace {

// What one line shows of a text: menu-style mnemonics ("&OK" shows "OK", "&&"
// shows "&"), and no control characters, which the font would draw as boxes
// (a caption may end in the line break of the line it was made from).
std::string ShownText(const std::string& text) {
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        if (static_cast<unsigned char>(text[i]) < 0x20) continue;
        shown += text[i];
    }
    return shown;
}

}  // namespace

void DrawTextLine(cairo_t* cairo, const std::string& text, const RECT& box, TextAlign align, COLORREF color,
                  bool bold) {
    const std::string shown = ShownText(text);
    if (shown.empty()) return;
    cairo_save(cairo);
    cairo_rectangle(cairo, box.left, box.top, box.right - box.left, box.bottom - box.top);
    cairo_clip(cairo);
    SelectTextFace(cairo, bold);
    cairo_font_extents_t font;
    cairo_font_extents(cairo, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, shown.c_str(), &extents);
    double x = box.left;
    if (align == TextAlign::Centre) x = box.left + ((box.right - box.left) - extents.x_advance) / 2;
    const double y = box.top + ((box.bottom - box.top) - (font.ascent + font.descent)) / 2 + font.ascent;
    SetSourceColor(cairo, color);
    cairo_move_to(cairo, std::floor(x), std::floor(y));
    cairo_show_text(cairo, shown.c_str());
    cairo_restore(cairo);
}

int TextWidth(const std::string& text) {
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cairo = cairo_create(surface);
    SelectTextFace(cairo, false);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, ShownText(text).c_str(), &extents);
    cairo_destroy(cairo);
    cairo_surface_destroy(surface);
    return static_cast<int>(std::ceil(extents.x_advance));
}

}  // namespace ui
