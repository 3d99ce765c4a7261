#include "ui/Dialogs.h"
#include "ui/Windows.h"

namespace ui {
namespace {

// value * base / divisor, rounded to the nearest integer with halves away from zero.
LONG Scale(LONG value, int base, int divisor) {
    const int64_t product = int64_t{value} * base;
    const int64_t half = divisor / 2;
    return static_cast<LONG>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

}  // namespace

RECT DialogUnitsToPixels(const RECT& units) {
    return RECT{Scale(units.left, kDialogBaseUnitX, 4), Scale(units.top, kDialogBaseUnitY, 8),
                Scale(units.right, kDialogBaseUnitX, 4), Scale(units.bottom, kDialogBaseUnitY, 8)};
}

BOOL MapDialogRect(HWND dialog, RECT* rect) {
    if (!rect || !IsWindow(dialog)) return FALSE;
    *rect = DialogUnitsToPixels(*rect);
    return TRUE;
}

}  // namespace ui
