// One scratch file per fuzzing process, rewritten with each input, for the
// readers that take an open file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Files.h"

// In memory when it can be: rewriting a file on disk thousands of times a
// second waits for the disk at every truncation.
inline const std::string& FuzzScratchPath() {
    static const std::string path = [] {
        std::string created;
        for (const char* place : {"/dev/shm/bwvoq-fuzz", "/tmp/bwvoq-fuzz"}) {
            Platform::FileHandle file = Platform::CreateUniqueFileBeside(place, created);
            if (!file.IsOpen()) continue;
            Platform::CloseFile(file);
            break;
        }
        Platform::RemoveFileAtExit(created);
        return created;
    }();
    return path;
}

// Writes the input into the scratch file and opens it for reading.
inline Platform::FileHandle OpenFuzzInputAsFile(const uint8_t* data, size_t size) {
    const std::string& path = FuzzScratchPath();
    Platform::FileHandle out = Platform::CreateOrTruncateFile(path.c_str());
    int64_t done = 0;
    Platform::WriteToFile(out, data, static_cast<int64_t>(size), done);
    Platform::CloseFile(out);
    return Platform::OpenFileForReading(path.c_str());
}
