// Screen metrics, the work area and cursors.
#include "ui/DisplayChoice.h"
#include "ui/Styles.h"
#include "ui/System.h"
#include "ui/ThreadQueues.h"
#include "ui/WindowInternals.h"
#include "ui/Windows.h"

namespace ui {

struct Cursor {
    CursorShape shape;
};

namespace {

Cursor g_arrow{CursorShape::Arrow};
Cursor g_wait{CursorShape::Wait};

// The smallest window that a user may drag a frame to: the caption and its borders.
constexpr int kMinTrackWidth = 120;
constexpr int kMinTrackHeight = kCaptionHeight + 2 * kSizingBorder;

}  // namespace

BOOL SystemParametersInfo(UINT action, UINT, void* param, UINT) {
    if (action != SPI_GETWORKAREA || !param) return FALSE;
    DisplayConnection* connection = ConnectionOf(CurrentQueue());
    if (!connection) return FALSE;
    *static_cast<RECT*>(param) = connection->WorkArea();
    return TRUE;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXSCREEN:
        case SM_CYSCREEN: {
            DisplayConnection* connection = ConnectionOf(CurrentQueue());
            if (!connection) return 0;
            const SIZE size = connection->ScreenSize();
            return index == SM_CXSCREEN ? size.cx : size.cy;
        }
        case SM_CXVSCROLL:
        case SM_CYHSCROLL: return kScrollBarSize;
        case SM_CYCAPTION: return kCaptionHeight;
        case SM_CXBORDER:
        case SM_CYBORDER: return kThinBorder;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME: return kDialogBorder;
        case SM_CXSIZE:
        case SM_CYSIZE: return kCaptionHeight - 2;
        case SM_CXFRAME:
        case SM_CYFRAME: return kSizingBorder;
        case SM_CXMINTRACK: return kMinTrackWidth;
        case SM_CYMINTRACK: return kMinTrackHeight;
        default: return 0;
    }
}

HCURSOR LoadCursor(HINSTANCE instance, int id) {
    if (instance) return nullptr;
    if (id == IDC_ARROW) return &g_arrow;
    if (id == IDC_WAIT) return &g_wait;
    return nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
    ThreadQueue& queue = CurrentQueue();
    const HCURSOR previous = queue.cursor;
    queue.cursor = cursor;
    const CursorShape shape = cursor ? cursor->shape : CursorShape::Arrow;
    WindowGuard guard(WindowLock());
    for (HWND window : WindowsOfQueue(&queue)) {
        WindowObject* object = FindWindowObject(window);
        if (!object->native || !queue.connection) continue;
        queue.connection->SetNativeCursor(object->native, shape);
    }
    return previous;
}

HCURSOR GetCursor() { return CurrentQueue().cursor; }

}  // namespace ui
