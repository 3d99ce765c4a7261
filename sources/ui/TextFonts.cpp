#include "ui/TextFonts.h"

#include <fontconfig/fontconfig.h>

#include <array>

#include "ui/TextDrawing.h"

namespace ui {
namespace {

// The font package that the project installs puts its files here.
constexpr std::array<const char*, 2> kFaceFiles = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
};

// Reading the machine's whole font configuration costs several milliseconds
// before the first window can show a word; a configuration of the two files
// we draw with costs a fraction of one. Where they are missing, the machine's
// configuration finds the face instead.
bool UseOwnFontConfiguration() {
    FcConfig* config = FcConfigCreate();
    if (config == nullptr) return false;
    for (const char* file : kFaceFiles) {
        if (!FcConfigAppFontAddFile(config, reinterpret_cast<const FcChar8*>(file))) {
            FcConfigDestroy(config);
            return false;
        }
    }
    const bool current = FcConfigSetCurrent(config);
    FcConfigDestroy(config);  // the current configuration keeps a reference of its own
    return current;
}

}  // namespace

void SelectTextFace(cairo_t* cairo, bool bold) {
    static const bool ownConfiguration = UseOwnFontConfiguration();
    (void)ownConfiguration;
    // Slight hinting, whatever the machine's configuration asks for: the
    // windows' pixels must not depend on it.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cairo, options);
    cairo_font_options_destroy(options);
    cairo_select_font_face(cairo, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cairo, kTextSize);
}

}  // namespace ui
