#include "ui/NonClient.h"

#include "ui/Styles.h"
#include "ui/Windows.h"

namespace ui {

bool HasCaption(DWORD style, bool child) { return !child && (style & WS_CAPTION) == WS_CAPTION; }

int BorderWidth(DWORD style, bool child) {
    if (style & WS_THICKFRAME) return kSizingBorder;
    if (!child && (HasCaption(style, child) || (style & (WS_DLGFRAME | DS_MODALFRAME)))) return kDialogBorder;
    if (style & WS_BORDER) return kThinBorder;
    return 0;
}

FrameInsets NonClientInsets(DWORD style, bool child) {
    const int border = BorderWidth(style, child);
    FrameInsets insets{border, border, border, border};
    if (HasCaption(style, child)) insets.top += kCaptionHeight;
    if (style & WS_VSCROLL) insets.right += kScrollBarSize;
    if (style & WS_HSCROLL) insets.bottom += kScrollBarSize;
    return insets;
}

RECT ClientRectIn(const RECT& windowRect, DWORD style, bool child) {
    const FrameInsets insets = NonClientInsets(style, child);
    RECT client{windowRect.left + insets.left, windowRect.top + insets.top, windowRect.right - insets.right,
                windowRect.bottom - insets.bottom};
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    return client;
}

RECT WindowRectAround(const RECT& clientRect, DWORD style, bool child) {
    const FrameInsets insets = NonClientInsets(style, child);
    return RECT{clientRect.left - insets.left, clientRect.top - insets.top, clientRect.right + insets.right,
                clientRect.bottom + insets.bottom};
}

}  // namespace ui
