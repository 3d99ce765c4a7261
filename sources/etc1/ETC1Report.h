// How the ETC1 encoder speaks: through the converter's message sink when one is
// installed, on the console otherwise; and how it gives up.
#pragma once

#include <cstdio>

#include "etc1/MessageSink.h"

// The process exit code of an encoder that cannot go on.
inline constexpr int kETC1EncoderFailureExitCode = 3;

// printf to the console, then flush; the console stand-in for a missing sink.
void PrintETC1Message(const char* format, ...);

template <typename... Args>
void ReportETC1Message(MessageLevel level, const char* format, Args... args) {
    if (g_reportMessage != nullptr) {
        g_reportMessage(level, format, args...);
        std::fflush(stdout);
    } else {
        PrintETC1Message(format, args...);
    }
}

// "Could not allocate decompression buffer --- exiting\n", then exit code 3.
[[noreturn]] void ExitOnETC1AllocationFailure();

// "Not implemented.\n", then exit code 3.
[[noreturn]] void ExitOnUnknownETC1Method();
