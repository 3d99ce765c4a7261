// A "-n" run's progress window starts on a thread of its own while the run
// goes on. What the run says before the window's fate is known waits: it goes
// to the window once that is shown, or to the console after the conversion line
// when no window could be made. Only a message box waits for the window itself.
#pragma once

#include <string>

#include "converter/CommandLine.h"
#include "etc1/ETC1Messages.h"

// Starts making the window of a "-n" run that compresses ETC1, with the
// conversion line as its caption; a run without "-n" or of another format
// announces itself now.
void BeginProgressWindow(CommandLine& line);

// Keeps `text` back while the window's fate is unknown and the message can wait;
// false when it is to be shown or printed now (a box's message settles the
// window's fate first).
bool HoldWhileWindowStarts(MessageLevel level, const std::string& text);

// Waits, once, for the window begun, then lets out what was held back: to the
// window, or, with none, to the console after the conversion line (the run
// becomes one without "-n"). Nothing when no window was begun or it is settled.
void SettleProgressWindow();

// Before the encoder writes to the console at the end of a level: the window's
// fate is settled, and a progress line still waiting goes to the window.
void BeforeEncoderConsoleWrite();

// A message on the progress dialog by its level, else on the console as it stands.
void ShowOrPrintMessage(MessageLevel level, const std::string& text);
