// Window classes, windows and their messages.
//
// A window belongs to the thread that created it, and its procedure runs only on
// that thread. Each thread has one message queue, made when it first needs one.
// SendMessage to a window of another thread waits until the owner has handled
// it and returns its result; while it waits, the sender still handles messages
// that other threads send to its own windows, so two threads that send to each
// other do not deadlock. A send to a window whose thread has ended returns 0.
//
// Rectangles: GetWindowRect gives screen coordinates; a child window's position
// (CreateWindowEx, SetWindowPos, MoveWindow) is relative to its parent's client
// area. The non-client frame of a window is:
//   - WS_CAPTION: a title bar of kCaptionHeight pixels;
//   - WS_THICKFRAME: a sizing border of kSizingBorder pixels on every side;
//     otherwise WS_CAPTION, WS_DLGFRAME or DS_MODALFRAME: kDialogBorder pixels;
//     otherwise WS_BORDER: kThinBorder pixel;
//   - WS_VSCROLL / WS_HSCROLL: a bar of kScrollBarSize pixels at the right / bottom.
#pragma once

#include <cstddef>

#include "ui/Types.h"

namespace ui {

constexpr int kCaptionHeight = 20;
constexpr int kSizingBorder = 4;
constexpr int kDialogBorder = 3;
constexpr int kThinBorder = 1;
constexpr int kScrollBarSize = 16;

// Classes are registered by name for the whole process; a second registration of
// a name fails (returns 0), as does unregistering a class that windows still use.
WORD RegisterClassEx(const WNDCLASSEX* windowClass);
BOOL UnregisterClass(const char* className, HINSTANCE instance);

// Null when the class is unknown, no display is available for a top-level
// window, or WM_NCCREATE / WM_CREATE refuse (FALSE / -1). For a child window
// `menu` carries its control id.
HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
// Destroys the owned windows first, then sends the window WM_DESTROY, destroys
// its children, and sends it WM_NCDESTROY. Only the window's own thread may
// destroy it (FALSE otherwise); a thread that ends takes its windows with it.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);

BOOL ShowWindow(HWND window, int command);  // the previous visibility
BOOL IsWindowVisible(HWND window);          // the window and all its parents visible
BOOL EnableWindow(HWND window, BOOL enable);  // TRUE when it was disabled before
BOOL IsWindowEnabled(HWND window);
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL ClientToScreen(HWND window, POINT* point);
BOOL SetWindowText(HWND window, const char* text);
int GetWindowText(HWND window, char* buffer, int size);  // characters copied, without the terminator
int GetWindowTextLength(HWND window);

HWND GetParent(HWND window);  // the parent of a child, else the owner
HWND GetDesktopWindow();
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND window);
intptr_t GetWindowLongPtr(HWND window, int index);
// GWLP_USERDATA, GWL_STYLE, GWL_EXSTYLE (and DWLP_MSGRESULT of a dialog); returns the previous value.
intptr_t SetWindowLongPtr(HWND window, int index, intptr_t value);
HWND SetFocus(HWND window);  // the window that had the focus on this thread
HWND GetFocus();
BOOL SetForegroundWindow(HWND window);

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
// Waits for the next message of this thread's queue (or its display): messages
// sent from other threads are handled meanwhile; then posted messages in order,
// then WM_QUIT, then WM_PAINT for a window that is invalid. FALSE on WM_QUIT,
// whose exit code is then in message->wParam; -1 for a null message. The window
// and range filters are not applied: every caller takes all of the thread's messages.
BOOL GetMessage(MSG* message, HWND window, UINT filterMin, UINT filterMax);
BOOL TranslateMessage(const MSG* message);  // WM_KEYDOWN of a character key posts WM_CHAR
LRESULT DispatchMessage(const MSG* message);
LRESULT DefWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace ui
