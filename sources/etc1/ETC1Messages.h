// How the ETC1 encoder speaks: through the converter's message sink when one is
// installed, on the console otherwise; its progress lines; how it gives up.
#pragma once

#include <cstdint>
#include <cstdio>

// The converter's message sink. g_reportMessage names it while a conversion
// runs and is null otherwise. Only the main thread reports; worker threads
// never call it.
enum class MessageLevel : int32_t {
    Status = 0,
    Information = 1,
    Error = 2,
    Progress = 3,
};

using ReportMessageFunc = void (*)(MessageLevel level, const char* format, ...);

extern ReportMessageFunc g_reportMessage;

// Called, when set, before the encoder writes to the console itself, so that a
// sink holding messages back lets them out first and the console keeps its order.
using ConsoleWriteFunc = void (*)();

extern ConsoleWriteFunc g_beforeConsoleWrite;

namespace ETC1Encoder {

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

// A level's closing newline: always on the console, never through the sink.
void PrintETC1LevelEnd();

// "Could not allocate decompression buffer --- exiting\n", then exit code 3.
[[noreturn]] void ExitOnETC1AllocationFailure();

// "Not implemented.\n", then exit code 3.
[[noreturn]] void ExitOnUnknownETC1Method();

// Progress lines of the cached methods: about one per 2 percent, and one for
// every block from 99 percent on. Each line ends in 52 backspaces and no
// newline, so that on a console every line overwrites the one before.
class ETC1Progress {
public:
    explicit ETC1Progress(int32_t totalBlocks) : total_(totalBlocks) {}

    // `done` blocks of the level have been dealt with.
    void BlockDone(int32_t done);

private:
    int32_t total_;
    float lastReported_ = -1.0f;  // kept in single precision, as the cadence depends on it
};

}  // namespace ETC1Encoder
