// File identity: tells whether a path still names the very file seen before,
// with the same length and modification time.
#pragma once

#include <cstdint>

#include "platform/Files.h"

namespace Platform {

struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t length = 0;
    int64_t modifiedNanoseconds = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// False when the file cannot be looked at.
bool GetFileStamp(FileHandle file, FileStamp& stamp);
bool GetFileStamp(const char* path, FileStamp& stamp);

}  // namespace Platform
