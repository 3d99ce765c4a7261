// The system colours: one light scheme, fixed.
#include <array>

#include "ui/Drawing.h"
#include "ui/GdiObjects.h"

namespace ui {
namespace {

constexpr int kColorCount = 21;

constexpr std::array<COLORREF, kColorCount> kSystemColors = [] {
    std::array<COLORREF, kColorCount> colors{};
    colors.fill(RGB(240, 240, 240));
    colors[COLOR_ACTIVECAPTION] = RGB(44, 90, 160);
    colors[COLOR_WINDOW] = RGB(255, 255, 255);
    colors[COLOR_WINDOWTEXT] = RGB(0, 0, 0);
    colors[COLOR_CAPTIONTEXT] = RGB(255, 255, 255);
    colors[COLOR_HIGHLIGHT] = RGB(0, 120, 215);
    colors[COLOR_HIGHLIGHTTEXT] = RGB(255, 255, 255);
    colors[COLOR_BTNFACE] = RGB(240, 240, 240);
    colors[COLOR_BTNSHADOW] = RGB(160, 160, 160);
    colors[COLOR_GRAYTEXT] = RGB(109, 109, 109);
    colors[COLOR_BTNTEXT] = RGB(0, 0, 0);
    colors[COLOR_BTNHIGHLIGHT] = RGB(255, 255, 255);
    return colors;
}();

}  // namespace

COLORREF GetSysColor(int index) {
    return index >= 0 && index < kColorCount ? kSystemColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
    static std::array<BrushObject*, kColorCount> brushes = [] {
        std::array<BrushObject*, kColorCount> made{};
        for (int i = 0; i < kColorCount; ++i) made[i] = new BrushObject(kSystemColors[i], true);
        return made;
    }();
    return index >= 0 && index < kColorCount ? brushes[index] : nullptr;
}

HGDIOBJ GetStockObject(int index) {
    static BrushObject white(RGB(255, 255, 255), true);
    static BrushObject black(RGB(0, 0, 0), true);
    if (index == WHITE_BRUSH) return &white;
    if (index == BLACK_BRUSH) return &black;
    return nullptr;
}

void SetSourceColor(cairo_t* cairo, COLORREF color) {
    cairo_set_source_rgb(cairo, (color & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0, ((color >> 16) & 0xFF) / 255.0);
}

}  // namespace ui
