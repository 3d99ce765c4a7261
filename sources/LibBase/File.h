// CFileHandle: a checked reader over an open file that it does not own.
#pragma once

#include <cstdint>

#include "platform/Files.h"

namespace LibBase {

// What a checked read does when it fails: end the run (a program of its own),
// or return 0 as the count read (a module loaded into another program, whose
// end a bad file must never be).
enum class ReadFailure { EndRun, ReturnZero };
void SetReadFailureHandling(ReadFailure handling);

class CFileHandle {
public:
    explicit CFileHandle(Platform::FileHandle file) : handle(file) {}

    // Length of the file in bytes; the position does not move.
    int32_t GetSize() const;

    // Reads `size` bytes, or the rest of the file when `size` is below 1, and
    // returns the count read. A count of 0, a failed read or a short one is a
    // broken expectation: the run ends through the assertion with exit code 1,
    // or, when read failures return, the result is 0.
    int32_t Read(void* buffer, int32_t size);

    Platform::FileHandle handle;
};

}  // namespace LibBase
