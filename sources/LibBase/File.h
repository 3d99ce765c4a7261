// CFileHandle: a checked reader over an open file that it does not own.
#pragma once

#include <cstdint>

#include "platform/Files.h"

namespace LibBase {

class CFileHandle {
public:
    explicit CFileHandle(Platform::FileHandle file) : handle(file) {}

    // Length of the file in bytes; the position does not move.
    int32_t GetSize() const;

    // Reads `size` bytes, or the rest of the file when `size` is below 1, and
    // returns the count read. A count of 0, a failed read or a short one is a
    // broken expectation: the run ends through the assertion with exit code 1.
    int32_t Read(void* buffer, int32_t size);

    Platform::FileHandle handle;
};

}  // namespace LibBase
