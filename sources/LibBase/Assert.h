// The base library's assertion: a broken expectation is reported on the console
// and ends the run with exit code 1 after the user has pressed Enter.
#pragma once

#include <cstdint>

namespace LibBase {

// Records where the next Assert is checked (copied; longer names are cut).
void SetAssertLocation(const char* fileName, const char* functionName, int32_t line);

// Does nothing when `condition` is not 0; else prints the recorded location and
// the formatted message and ends the run through FatalExit.
void Assert(int32_t condition, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Prints the formatted text and "\n" on the standard output, then ExitWithPrompt(false).
[[noreturn]] void FatalExit(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Prints "Press Enter Key to Exit.", waits for one character on the standard
// input (or its end) and ends the process with exit code 0 or 1.
[[noreturn]] void ExitWithPrompt(bool success);

}  // namespace LibBase
