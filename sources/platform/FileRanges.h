// Reads and writes at given offsets, copies between files inside the kernel,
// and exclusive locks on folders: what a file kept as one large table needs.
#pragma once

#include <cstdint>

#include "platform/Files.h"

namespace Platform {

// Reads up to `count` bytes at `offset`, leaving the file position alone;
// stops early only at end of file or on an error. False on an error.
bool ReadFromFileAt(FileHandle file, int64_t offset, void* buffer, int64_t count, int64_t& done);

// Writes `count` bytes at `offset`, leaving the file position alone. False
// when not all were written.
bool WriteToFileAt(FileHandle file, int64_t offset, const void* data, int64_t count);

// Copies the first `count` bytes of `from` to the start of `to`, inside the
// kernel where it can. False when not all were copied.
bool CopyFileStart(FileHandle from, FileHandle to, int64_t count);

// Opens the folder and waits for an exclusive lock on it, held until the
// handle is closed. Invalid on failure.
FileHandle LockFolder(const char* path);

}  // namespace Platform
