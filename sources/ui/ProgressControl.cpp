// The progress bar: a range, a position within it, and a bar that fills its
// share of the width.
#include <algorithm>

#include "ui/ControlSupport.h"
#include "ui/DialogManager.h"
#include "ui/Drawing.h"
#include "ui/Messages.h"
#include "ui/Windows.h"

namespace ui {
namespace {

struct ProgressState : ControlState {
    int low = 0;
    int high = 100;
    int position = 0;
};

void Paint(HWND window) {
    const ProgressState state = StateOf<ProgressState>(window);
    PaintControl(window, [&](cairo_t* cairo, const ControlLook& look) {
        FillBox(cairo, 0, 0, look.width, look.height, RGB(230, 230, 230));
        const int64_t span = int64_t{state.high} - state.low;
        if (span <= 0) return;
        const int filled = static_cast<int>((int64_t{state.position} - state.low) * look.width / span);
        FillBox(cairo, 0, 0, filled, look.height, RGB(6, 176, 37));
    });
}

LRESULT SetRange(HWND window, int low, int high) {
    ProgressState& state = StateOf<ProgressState>(window);
    const LRESULT previous = MAKELPARAM(static_cast<WORD>(state.low), static_cast<WORD>(state.high));
    state.low = low;
    state.high = high;
    state.position = std::clamp(state.position, std::min(low, high), std::max(low, high));
    InvalidateRect(window, nullptr, FALSE);
    return previous;
}

}  // namespace

LRESULT ProgressProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case PBM_SETRANGE:
            return SetRange(window, LOWORD(static_cast<uintptr_t>(lParam)), HIWORD(static_cast<uintptr_t>(lParam)));
        case PBM_SETRANGE32:
            return SetRange(window, static_cast<int>(wParam), static_cast<int>(lParam));
        case PBM_SETPOS: {
            ProgressState& state = StateOf<ProgressState>(window);
            const int previous = state.position;
            state.position = std::clamp(static_cast<int>(wParam), std::min(state.low, state.high),
                                        std::max(state.low, state.high));
            if (state.position != previous) InvalidateRect(window, nullptr, FALSE);
            return previous;
        }
        case PBM_GETPOS:
            return StateOf<ProgressState>(window).position;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace ui
