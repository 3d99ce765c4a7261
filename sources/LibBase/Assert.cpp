#include "LibBase/Assert.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace LibBase {
namespace {

constexpr size_t kTextSize = 256;

struct AssertLocation {
    char fileName[kTextSize];
    char functionName[kTextSize];
    int32_t line;
};

AssertLocation g_location;

void CopyText(char (&target)[kTextSize], const char* text) {
    std::snprintf(target, kTextSize, "%s", text != nullptr ? text : "");
}

}  // namespace

void SetAssertLocation(const char* fileName, const char* functionName, int32_t line) {
    CopyText(g_location.fileName, fileName);
    CopyText(g_location.functionName, functionName);
    g_location.line = line;
}

void Assert(int32_t condition, const char* format, ...) {
    if (condition != 0) return;
    char message[kTextSize];
    va_list args;
    va_start(args, format);
    std::vsnprintf(message, sizeof message, format, args);
    va_end(args);
    FatalExit("===assert===\n\"%s\", \"%s\", L:%d\n%s\n", g_location.fileName, g_location.functionName,
              g_location.line, message);
}

void FatalExit(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    ExitWithPrompt(false);
}

void ExitWithPrompt(bool success) {
    std::printf("Press Enter Key to Exit.");
    std::fflush(stdout);
    char answer = 0;
    (void)std::scanf("%c", &answer);
    std::exit(success ? 0 : 1);
}

}  // namespace LibBase
