// The progress window of "-n" runs: a hidden window and the progress dialog it
// owns, on a thread of their own. The main thread reaches the dialog only
// through synchronous messages and the message boxes it owns.
#pragma once

#include <atomic>

#include "converter/ProgressDialog.h"
#include "converter/ProgressMailbox.h"
#include "ui/WindowSystem.h"

inline constexpr const char kProgressWindowClass[] = "BWOrvik";
inline constexpr const char kProgressWindowTitle[] = "BWOrvikForVOQ";

// The hidden window: set on its WM_CREATE, cleared on WM_CLOSE.
extern std::atomic<ui::HWND> g_progressWindow;
// The dialog: set once it is made, set up and shown; cleared on WM_CLOSE.
extern std::atomic<CProgressDlg*> g_progressDialog;

// Progress lines on their way to the dialog.
extern ProgressMailbox g_progressMailbox;

// Posted to the hidden window when a letter waits in g_progressMailbox; the
// window hands its text and position to the dialog.
inline constexpr ui::UINT WM_PROGRESS_MAIL = 0x510;

// The converter's module: the key of its dialog template and icon.
ui::HINSTANCE ConverterModule();

// Records the module with the window system and registers template 101 and
// the icon "IDR_MAINFRAME" with it, once per process.
void RegisterProgressResources();

// Starts the progress thread and waits until the window and its dialog exist.
// Returns the hidden window, or null when they could not be made (no display,
// a refusing server, a failed creation); the thread has then ended.
ui::HWND StartProgressWindow();

// Sends the hidden window WM_CLOSE and waits for the progress thread to end;
// its exit code.
int CloseProgressWindow();

// The progress thread: makes the windows, runs their message loop and returns
// the quit code; -1 when the windows could not be made.
int ProgressThread(ui::HINSTANCE instance);

ui::LRESULT ProgressWndProc(ui::HWND window, ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam);
