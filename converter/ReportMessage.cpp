#include "converter/ReportMessage.h"

#include <cstdarg>
#include <cstdio>

#include "converter/ProgressStart.h"
#include "converter/ProgressText.h"
#include "converter/ProgressWindowCalls.h"

void ReportMessage(MessageLevel level, const char* format, ...) {
    SettleProgressWindow();  // a message goes where the window's fate sends it
    va_list args;
    va_start(args, format);
    MessageText text;
    if (g_progressWindowCalls != nullptr) {
        va_list copy;
        va_copy(copy, args);
        FormatMessageText(text, format, copy);
        va_end(copy);
    }
    if (g_progressWindowCalls == nullptr || !g_progressWindowCalls->show(level, text)) {
        std::vprintf(format, args);
        std::fflush(stdout);
    }
    va_end(args);
}
