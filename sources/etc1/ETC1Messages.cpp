#include "etc1/ETC1Messages.h"

#include <cstdarg>
#include <cstdlib>

ReportMessageFunc g_reportMessage = nullptr;
ConsoleWriteFunc g_beforeConsoleWrite = nullptr;

namespace ETC1Encoder {

void PrintETC1Message(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

void PrintETC1LevelEnd() {
    if (g_beforeConsoleWrite != nullptr) g_beforeConsoleWrite();
    std::printf("\n");
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

void ETC1Progress::BlockDone(int32_t done) {
    double percentage = done * 100.0 / total_;
    float next = lastReported_ + 2.0f;
    if (percentage < 99.0 && percentage < next) return;
    ReportETC1Message(MessageLevel::Progress,
                      "Compressed %d of %d blocks, %.1f%% finished."
                      "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b"
                      "\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b\b",
                      done, total_, percentage);
    lastReported_ = static_cast<float>(percentage);
}

}  // namespace ETC1Encoder
