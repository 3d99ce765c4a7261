#include "plugin/ScrollWindow.h"

#include <tuple>

#include "plugin/PluginModule.h"
#include "plugin/PreviewGeometry.h"
#include "ui/Controls.h"
#include "ui/Drawing.h"
#include "ui/Messages.h"
#include "ui/Styles.h"
#include "ui/Windows.h"

namespace FormatPlugin {

using namespace ui;

CScrollWindow* g_currentPreview = nullptr;

namespace {

constexpr int kPreviewX = 220;
constexpr int kPreviewY = 14;
constexpr int kPreviewWidth = 256;
constexpr int kPreviewHeight = 320;

int ScrollPosition(HWND window, int bar) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    return GetScrollInfo(window, bar, &info) ? info.nPos : 0;
}

void SetScrollBar(HWND window, int bar, int maximum, int page, int position) {
    SCROLLINFO info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = maximum;
    info.nPage = static_cast<UINT>(page > 0 ? page : 0);
    info.nPos = position;
    SetScrollInfo(window, bar, &info, TRUE);
}

}  // namespace

CScrollWindow::~CScrollWindow() {
    if (bitmap != nullptr) DeleteObject(bitmap);
    if (window != nullptr) {
        DestroyWindow(window);
        UnregisterClass(kPreviewClassName, ModuleInstance());
    }
    // The window procedure must not reach an object that is gone.
    if (g_currentPreview == this) g_currentPreview = nullptr;
}

bool CScrollWindow::Create(HWND ownerWindow) {
    if (ownerWindow == nullptr) return false;
    owner = ownerWindow;
    WNDCLASSEX windowClass;
    windowClass.lpfnWndProc = ScrollWndProc;
    windowClass.hInstance = ModuleInstance();
    windowClass.lpszClassName = kPreviewClassName;
    if (RegisterClassEx(&windowClass) == 0) return false;
    HWND created = CreateWindowEx(0, kPreviewClassName, "", WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL,
                                  kPreviewX, kPreviewY, kPreviewWidth, kPreviewHeight, owner, nullptr,
                                  ModuleInstance(), nullptr);
    if (created == nullptr) {
        UnregisterClass(kPreviewClassName, ModuleInstance());
        return false;
    }
    window = created;
    x = kPreviewX;
    y = kPreviewY;
    InitScrollBars();
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return true;
}

void CScrollWindow::InitScrollBars() {
    for (int bar : {SB_HORZ, SB_VERT}) {
        SCROLLINFO info;
        info.fMask = SIF_RANGE | SIF_POS;
        SetScrollInfo(window, bar, &info, TRUE);
    }
}

SIZE CScrollWindow::OuterSize() const {
    RECT rect;
    if (window == nullptr || !GetWindowRect(window, &rect)) return {};
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void CScrollWindow::UpdateScrollBars() {
    if (window == nullptr) return;
    const SIZE outer = OuterSize();
    SetScrollBar(window, SB_HORZ, bitmapWidth * zoom - 1, outer.cx, ScrollPosition(window, SB_HORZ));
    SetScrollBar(window, SB_VERT, bitmapHeight * zoom - 1, outer.cy, ScrollPosition(window, SB_VERT));
}

void CScrollWindow::SetBitmap(HBITMAP newBitmap) {
    if (bitmap != nullptr) DeleteObject(bitmap);
    bitmap = newBitmap;
    BITMAP info;
    if (bitmap != nullptr && GetObject(bitmap, sizeof info, &info) > 0) {
        bitmapWidth = info.bmWidth;
        bitmapHeight = info.bmHeight;
    } else {
        bitmapWidth = bitmapHeight = 0;
    }
    UpdateScrollBars();
    if (window != nullptr) InvalidateRect(window, nullptr, FALSE);
}

void CScrollWindow::SetZoom(int32_t newZoom) {
    if (newZoom < kMinZoom || newZoom > kMaxZoom) return;
    zoom = newZoom;
    if (window == nullptr) return;
    const SIZE outer = OuterSize();
    for (auto [bar, size, page] : {std::tuple{SB_HORZ, bitmapWidth, outer.cx}, std::tuple{SB_VERT, bitmapHeight, outer.cy}}) {
        const int32_t newMax = size * zoom - 1;
        SCROLLINFO old;
        old.fMask = SIF_RANGE | SIF_POS;
        const bool known = GetScrollInfo(window, bar, &old);
        const int32_t position = known ? ZoomedScrollPosition(page, old.nPos, old.nMax, newMax) : 0;
        SetScrollBar(window, bar, newMax, page, position);
    }
    InvalidateRect(window, nullptr, FALSE);
}

void CScrollWindow::Resize(int32_t width, int32_t height) {
    if (window == nullptr) return;
    MoveWindow(window, x, y, width, height, FALSE);
    UpdateScrollBars();
}

void CScrollWindow::OnScroll(int bar, int32_t amount, bool relative) {
    SCROLLINFO info;
    info.fMask = SIF_POS;
    info.nPos = amount + (relative ? ScrollPosition(window, bar) : 0);
    SetScrollInfo(window, bar, &info, TRUE);
    InvalidateRect(window, nullptr, FALSE);
}

void CScrollWindow::OnPaint() {
    const SIZE outer = OuterSize();
    const RECT whole{0, 0, outer.cx, outer.cy};
    PAINTSTRUCT paint;
    HDC context = BeginPaint(window, &paint);
    if (context == nullptr) return;
    if (bitmap == nullptr) {
        FillRect(context, &whole, GetSysColorBrush(COLOR_BTNFACE));
        EndPaint(window, &paint);
        return;
    }
    const PreviewPaint shown = ComputePreviewPaint(outer.cx, outer.cy, bitmapWidth, bitmapHeight, zoom,
                                                   ScrollPosition(window, SB_HORZ), ScrollPosition(window, SB_VERT));
    if (shown.fillBackground) FillRect(context, &whole, GetSysColorBrush(COLOR_BTNFACE));
    HDC memory = CreateCompatibleDC(context);
    if (memory != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        StretchBlt(context, shown.destinationX, shown.destinationY, shown.destinationWidth, shown.destinationHeight,
                   memory, shown.sourceX, shown.sourceY, shown.sourceWidth, shown.sourceHeight, SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    EndPaint(window, &paint);
}

LRESULT ScrollWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CScrollWindow* preview = g_currentPreview;
    if (preview == nullptr) return 1;
    preview->window = window;
    switch (message) {
        case WM_PAINT: preview->OnPaint(); return 0;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const int bar = message == WM_HSCROLL ? SB_HORZ : SB_VERT;
            SCROLLINFO info;
            info.fMask = SIF_PAGE;
            const int32_t page = GetScrollInfo(window, bar, &info) ? static_cast<int32_t>(info.nPage) : 0;
            switch (LOWORD(wParam)) {
                case SB_LINEUP: preview->OnScroll(bar, -1, true); break;
                case SB_LINEDOWN: preview->OnScroll(bar, 1, true); break;
                case SB_PAGEUP: preview->OnScroll(bar, -page, true); break;
                case SB_PAGEDOWN: preview->OnScroll(bar, page, true); break;
                case SB_THUMBTRACK: preview->OnScroll(bar, HIWORD(wParam), false); break;
                default: break;
            }
            return 0;
        }
        default: return DefWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace FormatPlugin
