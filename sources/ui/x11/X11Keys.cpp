#include "ui/x11/X11Keys.h"

#include <array>
#include <utility>

#include "ui/Messages.h"

namespace ui {
namespace {

constexpr std::array<std::pair<KeySym, WPARAM>, 12> kNamedKeys{{
    {XK_Return, VK_RETURN},
    {XK_KP_Enter, VK_RETURN},
    {XK_Escape, VK_ESCAPE},
    {XK_Tab, VK_TAB},
    {XK_ISO_Left_Tab, VK_TAB},  // Tab with Shift held
    {XK_space, VK_SPACE},
    {XK_Left, VK_LEFT},
    {XK_Up, VK_UP},
    {XK_Right, VK_RIGHT},
    {XK_Down, VK_DOWN},
    {XK_Shift_L, VK_SHIFT},
    {XK_Shift_R, VK_SHIFT},
}};

}  // namespace

WPARAM VirtualKeyOf(KeySym keysym) {
    for (const auto& [named, key] : kNamedKeys) {
        if (named == keysym) return key;
    }
    // Letters are named by their capital, whatever the case typed.
    if (keysym >= XK_a && keysym <= XK_z) return 'A' + (keysym - XK_a);
    if (keysym >= XK_A && keysym <= XK_Z) return 'A' + (keysym - XK_A);
    if (keysym >= XK_0 && keysym <= XK_9) return '0' + (keysym - XK_0);
    return 0;
}

}  // namespace ui
