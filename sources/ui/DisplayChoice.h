// Which display the process shows its windows on, chosen once: the memory
// display when BWVOQ_DISPLAY=memory or a test asked for it, else X11 when
// DISPLAY names a server that answers, else none.
#pragma once

#include "ui/Display.h"

namespace ui {

struct ThreadQueue;

enum class DisplayKind { Undecided, Memory, X11, None };

DisplayKind ChosenDisplay();
// The calling thread's connection, opened on first use; null without a display.
DisplayConnection* ConnectionOf(ThreadQueue& queue);

}  // namespace ui
