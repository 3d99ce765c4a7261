#include "converter/ReportMessage.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "converter/ProgressStart.h"
#include "converter/ProgressText.h"

void ReportMessage(MessageLevel level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const std::string text = FormatMessage(format, args);
    va_end(args);
    if (!HoldWhileWindowStarts(level, text)) ShowOrPrintMessage(level, text);
}
