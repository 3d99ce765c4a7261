#include "converter/ReportMessage.h"

#include <cstdarg>
#include <cstdio>

void ReportMessage(MessageLevel, const char* format, ...) {
    // Without a progress window every level is printed as it stands.
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}
