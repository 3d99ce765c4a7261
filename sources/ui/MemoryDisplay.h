// The memory display: windows, surfaces and messages as on a screen, with
// nothing shown. Tests and screenshots look at windows and give them input
// through these calls, from any thread; input reaches the window's own thread
// the way a person's would (through its message queue).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/Types.h"

namespace ui {

// Chooses the memory display for the whole process (as BWVOQ_DISPLAY=memory
// does). False when another display was chosen already.
bool UseMemoryDisplay();

}  // namespace ui

namespace ui::memory {

// The screen of the memory display: 1280 x 1024, with a panel of 40 pixels at the bottom.
constexpr RECT kScreen{0, 0, 1280, 1024};
constexpr RECT kWorkArea{0, 0, 1280, 984};

// Every top-level window, visible or not, topmost band first, in z-order.
std::vector<HWND> TopLevelWindows();
// The first top-level window in z-order with that caption (or class); null if none.
HWND FindWindowByCaption(const std::string& caption);
HWND FindWindowByClass(const std::string& className);

// A window's picture as a person would see it: its frame, client area and
// children, window-rectangle sized, 0x00RRGGBB pixels row by row, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
// Paints what is invalid first (on the window's own thread). False for no window.
bool ReadPicture(HWND window, Picture& picture);
bool WritePng(HWND window, const std::string& path);

// A left click (button down and up) at a screen point, given to the topmost
// visible window there. False when no window is there.
bool Click(int screenX, int screenY);
// The button pressed at one screen point, the pointer moved to another with it
// held, and let go there (dragging a scroll bar's thumb, for one).
bool Drag(int fromX, int fromY, int toX, int toY);
// Clicks the centre of a window (a control or a top-level window).
bool ClickWindow(HWND window);
// A key pressed and released on the active top-level window (the one shown or
// clicked last), with or without Shift held: WM_KEYDOWN with the virtual key;
// characters follow through TranslateMessage.
bool PressKey(WPARAM virtualKey, bool shift = false);
// The user's close button on a top-level window.
bool CloseWindow(HWND window);
// The user drags a top-level window's frame until its client area has this size
// (the window's smallest size, from WM_GETMINMAXINFO, still holds).
bool ResizeWindow(HWND window, int clientWidth, int clientHeight);

}  // namespace ui::memory
