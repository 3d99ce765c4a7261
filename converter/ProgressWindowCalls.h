// What the converter asks of its progress window. The window lives in a module
// of its own, loaded only by "-n" runs, so that a run without the window does
// not load the window system and everything it draws with.
#pragma once

#include "converter/ProgressText.h"
#include "etc1/ETC1Messages.h"

struct ProgressWindowCalls {
    // Starts the window's thread and waits until the dialog is shown; false
    // when the window could not be made (the thread has ended then).
    bool (*start)();
    // Puts the conversion line in the dialog's caption.
    void (*setCaption)(const char* caption);
    // Shows a message on the dialog by its level; false while no dialog is
    // shown, and the message is the console's.
    bool (*show)(MessageLevel level, MessageText& text);
    // Tells the window of a progress line that still waits to be shown: the
    // encoder has finished a level, and the next line may be long in coming.
    void (*showWaitingProgress)();
    // Whether the window is there, until it is closed.
    bool (*isOpen)();
    // Closes the window and waits for its thread to end.
    void (*close)();
};

// The window's calls, defined by the window's code: in the module, and in
// tests that link the window in.
extern const ProgressWindowCalls kProgressWindowCalls;

// The module's one export gives them.
inline constexpr const char kProgressWindowModule[] = "libBWOrvikProgress.so";
inline constexpr const char kProgressWindowCallsSymbol[] = "BWOrvikProgressWindowCalls";

// The calls of the progress window the converter uses: null until a "-n" run
// loads the module (or a test links the window in and sets them).
extern const ProgressWindowCalls* g_progressWindowCalls;

// Loads the module beside the converter's binary, once; false (and the calls
// stay null) when it cannot be loaded.
bool LoadProgressWindow();
