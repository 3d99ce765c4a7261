// MessageBox: a modal dialog made for the text, with an icon of the asked kind
// at the left and an OK button under the text, centred over its owner (or the
// work area when it has none).
#include <algorithm>
#include <string>
#include <vector>

#include "ui/ControlSupport.h"
#include "ui/Controls.h"
#include "ui/DialogManager.h"
#include "ui/Dialogs.h"
#include "ui/Drawing.h"
#include "ui/GdiObjects.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/System.h"
#include "ui/TextDrawing.h"
#include "ui/Windows.h"

namespace ui {
namespace {

// Layout in dialog units.
constexpr int kMargin = 7;
constexpr int kIconUnits = 20;  // 35 pixels, for an icon of 32
constexpr int kLineUnits = 8;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kMinTextUnits = 60;

int PixelsToUnitsX(int pixels) { return (pixels * 4 + kDialogBaseUnitX - 1) / kDialogBaseUnitX; }

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return lines;
        start = end + 1;
    }
}

void DrawIcon(HWND box, UINT kind) {
    if (kind == 0) return;
    PAINTSTRUCT paint;
    HDC context = BeginPaint(box, &paint);
    if (!context) return;
    if (cairo_surface_t* target = context->Target()) {
        cairo_t* cairo = cairo_create(target);
        const RECT place = DialogUnitsToPixels(RECT{kMargin, kMargin, kMargin + kIconUnits, kMargin + kIconUnits});
        const double cx = (place.left + place.right) / 2.0;
        const double cy = (place.top + place.bottom) / 2.0;
        const COLORREF fill = kind == MB_ICONINFORMATION ? RGB(0, 102, 204)
                              : kind == MB_ICONERROR     ? RGB(204, 0, 0)
                                                         : RGB(230, 170, 0);
        SetSourceColor(cairo, fill);
        cairo_arc(cairo, cx, cy, 15, 0, 6.2832);
        cairo_fill(cairo);
        const char* glyph = kind == MB_ICONINFORMATION ? "i" : kind == MB_ICONERROR ? "X" : "!";
        DrawTextLine(cairo, glyph, RECT{static_cast<LONG>(cx) - 15, static_cast<LONG>(cy) - 15,
                                        static_cast<LONG>(cx) + 15, static_cast<LONG>(cy) + 15},
                     TextAlign::Centre, RGB(255, 255, 255), true);
        cairo_destroy(cairo);
    }
    EndPaint(box, &paint);
}

INT_PTR MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            SetWindowLongPtr(box, GWLP_USERDATA, lParam);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(box, IDOK);
            return TRUE;
        case WM_PAINT:
            DrawIcon(box, static_cast<UINT>(GetWindowLongPtr(box, GWLP_USERDATA)));
            return TRUE;
        default:
            return FALSE;
    }
}

// Centred over the owner, or in the work area; kept on the screen.
void Place(HWND box, HWND owner) {
    RECT area{0, 0, 0, 0};
    if (!owner || !GetWindowRect(owner, &area)) SystemParametersInfo(SPI_GETWORKAREA, 0, &area, 0);
    RECT rect;
    GetWindowRect(box, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    const int x = std::clamp<int>(area.left + (area.right - area.left - width) / 2, 0, std::max(screenWidth - width, 0));
    const int y = std::clamp<int>(area.top + (area.bottom - area.top - height) / 2, 0, std::max(screenHeight - height, 0));
    SetWindowPos(box, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    const std::string shown = text ? text : "";
    const std::vector<std::string> lines = LinesOf(shown);
    int widest = 0;
    for (const std::string& line : lines) widest = std::max(widest, TextWidth(line));
    const UINT icon = type & MB_ICONMASK;
    const short textLeft = static_cast<short>(icon ? kMargin * 2 + kIconUnits : kMargin);
    const short textWidth = static_cast<short>(std::max(PixelsToUnitsX(widest) + 2, kMinTextUnits));
    const short textHeight = static_cast<short>(std::max<int>(static_cast<int>(lines.size()) * kLineUnits, icon ? kIconUnits : 0));
    const short width = static_cast<short>(textLeft + textWidth + kMargin);
    const short buttonTop = static_cast<short>(kMargin + textHeight + kMargin);
    const DialogItem items[] = {
        {kStaticClass, shown.c_str(), -1, WS_VISIBLE | SS_LEFT, 0, textLeft, kMargin, textWidth, textHeight},
        {kButtonClass, "OK", IDOK, WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0,
         static_cast<short>((width - kButtonWidth) / 2), buttonTop, kButtonWidth, kButtonHeight},
    };
    const DialogTemplate boxTemplate{WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 0, width,
                                     static_cast<short>(buttonTop + kButtonHeight + kMargin), caption ? caption : "",
                                     "DejaVu Sans", 8, items};
    const HWND box = CreateDialogIndirectParam(nullptr, &boxTemplate, owner, MessageBoxProc, icon);
    if (!box) return 0;
    Place(box, owner);
    RunModalDialog(box);
    return IDOK;
}

}  // namespace ui
