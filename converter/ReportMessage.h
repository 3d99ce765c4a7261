// The converter's message sink: the console while no progress window exists,
// else the progress dialog's text and bar, and message boxes over it.
#pragma once

#include "etc1/ETC1Messages.h"

void ReportMessage(MessageLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
