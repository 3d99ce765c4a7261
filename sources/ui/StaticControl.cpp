// Static text, left-aligned or centred; a text with line breaks shows one line
// under the other.
#include <string>

#include "ui/ControlSupport.h"
#include "ui/Controls.h"
#include "ui/DialogManager.h"
#include "ui/Drawing.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/TextDrawing.h"
#include "ui/Windows.h"

namespace ui {
namespace {

constexpr int kLineHeight = 14;

void Paint(HWND window) {
    PaintControl(window, [](cairo_t* cairo, const ControlLook& look) {
        FillBox(cairo, 0, 0, look.width, look.height, GetSysColor(COLOR_BTNFACE));
        const TextAlign align = (look.style & SS_TYPEMASK) == SS_CENTER ? TextAlign::Centre : TextAlign::Left;
        const COLORREF ink = look.enabled ? GetSysColor(COLOR_BTNTEXT) : GetSysColor(COLOR_GRAYTEXT);
        size_t start = 0;
        for (int top = 0; start <= look.text.size(); top += kLineHeight) {
            const size_t end = look.text.find('\n', start);
            const std::string line = look.text.substr(start, end == std::string::npos ? std::string::npos : end - start);
            DrawTextLine(cairo, line, RECT{0, top, look.width, top + kLineHeight}, align, ink);
            if (end == std::string::npos) break;
            start = end + 1;
        }
    });
}

}  // namespace

LRESULT StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProc(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, TRUE);
            return result;
        }
        case WM_ENABLE:
            InvalidateRect(window, nullptr, TRUE);
            return 0;
        default:
            return DefWindowProc(window, message, wParam, lParam);
    }
}

BOOL SetDlgItemText(HWND dialog, int id, const char* text) {
    const HWND item = GetDlgItem(dialog, id);
    return item ? SetWindowText(item, text) : FALSE;
}

UINT GetDlgItemText(HWND dialog, int id, char* buffer, int size) {
    const HWND item = GetDlgItem(dialog, id);
    if (!item) {
        if (buffer && size > 0) buffer[0] = '\0';
        return 0;
    }
    return static_cast<UINT>(GetWindowText(item, buffer, size));
}

}  // namespace ui
