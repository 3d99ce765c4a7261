// The screen, cursors and icons.
#pragma once

#include <span>

#include "ui/Types.h"

namespace ui {

constexpr UINT SPI_GETWORKAREA = 0x0030;

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXSIZE = 30;  // width of a button in a window caption
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXMINTRACK = 34;
constexpr int SM_CYMINTRACK = 35;

constexpr int IDC_ARROW = 32512;
constexpr int IDC_WAIT = 32514;

// SPI_GETWORKAREA fills the RECT that `param` points to with the work area of
// the primary screen (the screen without the desktop's panels).
BOOL SystemParametersInfo(UINT action, UINT uiParam, void* param, UINT winIni);
int GetSystemMetrics(int index);

HCURSOR LoadCursor(HINSTANCE instance, int id);  // IDC_ARROW or IDC_WAIT with a null instance
// Sets this thread's cursor, shown over its windows; returns the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();

// One image of an icon: width x height pixels, 0xAARRGGBB, not premultiplied, rows top-down.
struct IconImage {
    int width;
    int height;
    const uint32_t* pixels;
};

// A module registers its icons by name; LoadIcon finds them.
bool RegisterIcon(HINSTANCE module, const char* name, std::span<const IconImage> images);
HICON LoadIcon(HINSTANCE module, const char* name);

}  // namespace ui
