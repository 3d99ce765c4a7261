// A "-n" run's progress window starts while the image is read: the run waits
// for it only when it has something to say, or before it encodes.
#pragma once

#include "converter/CommandLine.h"

// Starts making the window of a "-n" run that compresses ETC1, on a thread of
// its own; a run without "-n" or of another format announces itself now.
void BeginProgressWindow(CommandLine& line);

// Waits, once, for the window begun: shown, it gets the conversion line as its
// caption; else the run becomes one without "-n" and prints the line. Nothing
// when no window was begun or it is settled already. Every message, and the
// encoding, comes after this.
void SettleProgressWindow();
