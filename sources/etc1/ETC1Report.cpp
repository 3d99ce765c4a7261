#include "etc1/ETC1Report.h"

#include <cstdarg>
#include <cstdlib>

void PrintETC1Message(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void ExitOnETC1AllocationFailure() {
    ReportETC1Message(MessageLevel::Error, "Could not allocate decompression buffer --- exiting\n");
    std::exit(kETC1EncoderFailureExitCode);
}

void ExitOnUnknownETC1Method() {
    ReportETC1Message(MessageLevel::Error, "Not implemented.\n");
    std::exit(kETC1EncoderFailureExitCode);
}
