// The bars: an arrow box at each end, the track between them and a thumb whose
// length is the page's share of the range (at least one arrow box long).
#include "ui/ScrollBars.h"

#include <algorithm>

#include "ui/Controls.h"
#include "ui/Drawing.h"
#include "ui/GdiObjects.h"
#include "ui/Messages.h"
#include "ui/NonClient.h"
#include "ui/Styles.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {
namespace {

struct BarLayout {
    RECT bar;  // client coordinates of the window
    bool vertical = false;
    int trackStart = 0;  // along the bar, from the bar's start
    int trackLength = 0;
    int thumbStart = 0;
    int thumbLength = 0;  // 0: no thumb
};

bool HasBar(const WindowObject& window, int bar) {
    return (window.style & (bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

BarLayout LayoutOf(const WindowObject& window, int bar) {
    const SIZE client = ClientSize(window);
    BarLayout layout;
    layout.vertical = bar == SB_VERT;
    layout.bar = layout.vertical ? RECT{client.cx, 0, client.cx + kScrollBarSize, client.cy}
                                 : RECT{0, client.cy, client.cx, client.cy + kScrollBarSize};
    const int length = layout.vertical ? client.cy : client.cx;
    layout.trackStart = kScrollBarSize;
    layout.trackLength = std::max(length - 2 * kScrollBarSize, 0);
    const ScrollBarState& state = window.scroll[bar];
    const int64_t range = int64_t{state.max} - state.min + 1;
    layout.thumbStart = layout.trackStart;
    layout.thumbLength = 0;
    if (range > 0 && (state.page == 0 || state.page < range) && layout.trackLength >= kScrollBarSize) {
        const int64_t page = state.page ? state.page : 1;
        layout.thumbLength = static_cast<int>(std::max<int64_t>(layout.trackLength * page / range, kScrollBarSize));
        const int64_t travel = range - std::max<int64_t>(page - 1, 0) - 1;
        const int room = layout.trackLength - layout.thumbLength;
        layout.thumbStart += travel > 0 ? static_cast<int>((int64_t{state.pos} - state.min) * room / travel) : 0;
    }
    return layout;
}

int LargestPosition(const ScrollBarState& state) {
    return state.max - std::max<int>(static_cast<int>(state.page) - 1, 0);
}

int AlongBar(const BarLayout& layout, POINT point) {
    return layout.vertical ? point.y - layout.bar.top : point.x - layout.bar.left;
}

int CurrentPosition(HWND window, int bar) {
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    return object ? object->scroll[bar].pos : 0;
}

void SetTrackPosition(HWND window, int bar, int position) {
    WindowGuard guard(WindowLock());
    if (WindowObject* object = FindWindowObject(window)) object->scroll[bar].trackPos = position;
}

void SendRequest(HWND window, int bar, WORD request, int position) {
    const UINT message = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    SendMessage(window, message, MAKEWPARAM(request, static_cast<WORD>(position)), 0);
}

}  // namespace

int SetScrollInfo(HWND window, int bar, const SCROLLINFO* info, BOOL) {
    if (!info || (bar != SB_HORZ && bar != SB_VERT)) return 0;
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return 0;
    ScrollBarState& state = object->scroll[bar];
    if (info->fMask & SIF_RANGE) {
        state.min = info->nMin;
        state.max = std::max(info->nMax, info->nMin);
    }
    if (info->fMask & SIF_PAGE) {
        state.page = std::min<UINT>(info->nPage, static_cast<UINT>(int64_t{state.max} - state.min + 1));
    }
    if (info->fMask & SIF_POS) state.pos = info->nPos;
    state.pos = std::clamp(state.pos, state.min, std::max(state.min, LargestPosition(state)));
    MarkNeedsPresent(window);
    return state.pos;
}

BOOL GetScrollInfo(HWND window, int bar, SCROLLINFO* info) {
    if (!info || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
    WindowGuard guard(WindowLock());
    WindowObject* object = FindWindowObject(window);
    if (!object) return FALSE;
    const ScrollBarState& state = object->scroll[bar];
    if (info->fMask & SIF_RANGE) {
        info->nMin = state.min;
        info->nMax = state.max;
    }
    if (info->fMask & SIF_PAGE) info->nPage = state.page;
    if (info->fMask & SIF_POS) info->nPos = state.pos;
    if (info->fMask & SIF_TRACKPOS) info->nTrackPos = state.trackPos;
    return TRUE;
}

bool PressScrollBar(HWND window, POINT point, ThumbGrab& grab) {
    int bar = -1;
    int along = 0;
    BarLayout layout;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return false;
        for (int candidate : {SB_VERT, SB_HORZ}) {
            if (!HasBar(*object, candidate)) continue;
            const BarLayout tried = LayoutOf(*object, candidate);
            if (point.x >= tried.bar.left && point.x < tried.bar.right && point.y >= tried.bar.top &&
                point.y < tried.bar.bottom) {
                bar = candidate;
                layout = tried;
                along = AlongBar(tried, point);
            }
        }
    }
    if (bar < 0) return false;
    const int barLength = layout.trackLength + 2 * kScrollBarSize;
    WORD request;
    if (along < kScrollBarSize) {
        request = SB_LINEUP;
    } else if (along >= barLength - kScrollBarSize) {
        request = SB_LINEDOWN;
    } else if (layout.thumbLength == 0) {
        return false;
    } else if (along < layout.thumbStart) {
        request = SB_PAGEUP;
    } else if (along >= layout.thumbStart + layout.thumbLength) {
        request = SB_PAGEDOWN;
    } else {
        grab = ThumbGrab{bar, along - layout.thumbStart};
        SetTrackPosition(window, bar, CurrentPosition(window, bar));
        return true;
    }
    SendRequest(window, bar, request, 0);
    SendRequest(window, bar, SB_ENDSCROLL, 0);
    return false;
}

void DragThumb(HWND window, const ThumbGrab& grab, POINT point) {
    int position;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return;
        const BarLayout layout = LayoutOf(*object, grab.bar);
        const ScrollBarState& state = object->scroll[grab.bar];
        const int room = layout.trackLength - layout.thumbLength;
        const int thumbStart = std::clamp(AlongBar(layout, point) - grab.offset - layout.trackStart, 0, std::max(room, 0));
        const int64_t travel = int64_t{LargestPosition(state)} - state.min;
        position = state.min + (room > 0 ? static_cast<int>(thumbStart * travel / room) : 0);
    }
    SetTrackPosition(window, grab.bar, position);
    SendRequest(window, grab.bar, SB_THUMBTRACK, position);
}

void ReleaseThumb(HWND window, const ThumbGrab& grab) {
    int position;
    {
        WindowGuard guard(WindowLock());
        WindowObject* object = FindWindowObject(window);
        if (!object) return;
        position = object->scroll[grab.bar].trackPos;
    }
    SendRequest(window, grab.bar, SB_THUMBPOSITION, position);
    SendRequest(window, grab.bar, SB_ENDSCROLL, 0);
}

void DrawScrollBars(cairo_t* cairo, const WindowObject& window, double x, double y) {
    const RECT client = ClientRectIn(RECT{0, 0, window.rect.right - window.rect.left,
                                          window.rect.bottom - window.rect.top},
                                     window.style, window.IsChild());
    for (int bar : {SB_VERT, SB_HORZ}) {
        if (!HasBar(window, bar)) continue;
        const BarLayout layout = LayoutOf(window, bar);
        const double left = x + client.left + layout.bar.left;
        const double top = y + client.top + layout.bar.top;
        const double width = layout.bar.right - layout.bar.left;
        const double height = layout.bar.bottom - layout.bar.top;
        SetSourceColor(cairo, RGB(232, 232, 232));
        cairo_rectangle(cairo, left, top, width, height);
        cairo_fill(cairo);
        auto box = [&](double start, double length) {
            SetSourceColor(cairo, GetSysColor(COLOR_BTNSHADOW));
            if (layout.vertical) {
                cairo_rectangle(cairo, left + 0.5, top + start + 0.5, width - 1, length - 1);
            } else {
                cairo_rectangle(cairo, left + start + 0.5, top + 0.5, length - 1, height - 1);
            }
            cairo_set_line_width(cairo, 1);
            cairo_stroke(cairo);
        };
        const double barLength = layout.vertical ? height : width;
        box(0, kScrollBarSize);
        box(barLength - kScrollBarSize, kScrollBarSize);
        if (layout.thumbLength > 0) {
            SetSourceColor(cairo, RGB(192, 192, 192));
            if (layout.vertical) {
                cairo_rectangle(cairo, left + 2, top + layout.thumbStart, width - 4, layout.thumbLength);
            } else {
                cairo_rectangle(cairo, left + layout.thumbStart, top + 2, layout.thumbLength, height - 4);
            }
            cairo_fill(cairo);
        }
    }
    if (HasBar(window, SB_VERT) && HasBar(window, SB_HORZ)) {
        SetSourceColor(cairo, GetSysColor(COLOR_BTNFACE));
        cairo_rectangle(cairo, x + client.right, y + client.bottom, kScrollBarSize, kScrollBarSize);
        cairo_fill(cairo);
    }
}

}  // namespace ui
