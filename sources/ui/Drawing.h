// Drawing: device contexts, bitmaps, brushes and the system colours.
//
// Every window paints into a pixel surface of its own (its client area); a
// memory device context draws into the bitmap selected into it. Bitmaps hold
// 32-bit pixels; SetDIBits takes 24-bit bottom-up (or top-down, with a negative
// height) rows of blue, green, red bytes padded to four bytes.
//
// StretchBlt maps destination pixel (dx, dy) of the w x h destination to source
// pixel (sx + (dx * sw) / w, sy + (dy * sh) / h) in integer arithmetic: the
// nearest pixel at its top-left corner, so a zoom of n repeats every source
// pixel exactly n times. Source pixels outside the bitmap leave the destination
// as it was.
#pragma once

#include "ui/Types.h"

namespace ui {

constexpr int COLOR_ACTIVECAPTION = 2;
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_CAPTIONTEXT = 9;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;

constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;

constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD BI_RGB = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr int BLACKONWHITE = 1;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

COLORREF GetSysColor(int index);
HBRUSH GetSysColorBrush(int index);  // owned by the system: DeleteObject ignores it
HGDIOBJ GetStockObject(int index);

HDC GetDC(HWND window);  // the window's client surface
int ReleaseDC(HWND window, HDC context);
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);  // validates the window
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);  // null rect: the whole client area
BOOL UpdateWindow(HWND window);  // sends WM_PAINT now when the window is invalid
BOOL RedrawWindow(HWND window, const RECT* rect, void* region, UINT flags);

HDC CreateCompatibleDC(HDC context);  // a memory context with a 1 x 1 bitmap selected
BOOL DeleteDC(HDC context);
HBITMAP CreateCompatibleBitmap(HDC context, int width, int height);  // null for sizes below 1 or too large
HGDIOBJ SelectObject(HDC context, HGDIOBJ object);  // the object selected before
BOOL DeleteObject(HGDIOBJ object);  // refuses an object that is selected into a context
int GetObject(HGDIOBJ object, int size, void* out);  // BITMAP for bitmaps; bytes written, 0 on failure
// Copies scan lines [start, start + lines) of the 24-bit rows in `bits` into the
// bitmap; returns the lines copied, 0 on a bad header or bitmap.
int SetDIBits(HDC context, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info,
              UINT usage);
int SetStretchBltMode(HDC context, int mode);  // the previous mode; every mode takes the nearest pixel
BOOL StretchBlt(HDC destination, int dx, int dy, int dw, int dh, HDC source, int sx, int sy, int sw, int sh,
                DWORD rop);
int FillRect(HDC context, const RECT* rect, HBRUSH brush);

}  // namespace ui
