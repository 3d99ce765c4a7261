// The converter's message sink: prints to the console while no progress window exists.
#pragma once

#include "etc1/ETC1Messages.h"

void ReportMessage(MessageLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
