// Files: the only place that opens, reads, writes and removes files.
//
// A FileHandle has three states: null (no file was ever given), invalid (an
// open failed) and open. Descriptor 0 is a valid open file, so null and invalid
// are their own values. Reads and writes loop until the whole count, end of
// file or an error, so one call moves the whole run of bytes.
#pragma once

#include <cstdint>
#include <string>

namespace Platform {

class FileHandle {
public:
    constexpr FileHandle() = default;
    static constexpr FileHandle Invalid() { return FileHandle(kInvalid); }
    static constexpr FileHandle FromDescriptor(int fd) { return FileHandle(fd); }

    constexpr bool IsNull() const { return fd_ == kNull; }
    constexpr bool IsInvalid() const { return fd_ == kInvalid; }
    constexpr bool IsOpen() const { return fd_ >= 0; }
    constexpr int Descriptor() const { return fd_; }

    friend constexpr bool operator==(FileHandle, FileHandle) = default;

private:
    static constexpr int kNull = -2;
    static constexpr int kInvalid = -1;
    constexpr explicit FileHandle(int fd) : fd_(fd) {}
    int fd_ = kNull;
};

enum class SeekOrigin { Begin, Current, End };

// Opens an existing regular file for reading; a directory, a named pipe or
// anything else that is not a plain file does not open, and the call never
// waits. Invalid on failure.
FileHandle OpenFileForReading(const char* path);

// Creates the file, or empties it when it exists, for writing. Invalid on failure.
FileHandle CreateOrTruncateFile(const char* path);

// Creates a new, empty file next to `path` (same folder, unique name) for
// writing and stores its name in `createdPath`. Invalid on failure.
FileHandle CreateUniqueFileBeside(const std::string& path, std::string& createdPath);

// Reads up to `count` bytes; stops early only at end of file or on an error.
// `done` receives the number of bytes read. False on an error or a handle that is not open.
bool ReadFromFile(FileHandle file, void* buffer, int64_t count, int64_t& done);

// Writes `count` bytes; `done` receives the number written. False when not all were written.
bool WriteToFile(FileHandle file, const void* data, int64_t count, int64_t& done);

// Moves the file position; returns the new position, or -1 on failure.
int64_t SeekFile(FileHandle file, int64_t offset, SeekOrigin origin);

// Length of the file in bytes, -1 on failure; the position does not move.
int64_t GetFileLength(FileHandle file);

// Sets the file's length, cutting or zero-extending it; the position does not move.
bool TruncateFile(FileHandle file, int64_t length);

// Closes an open handle; null and invalid handles are ignored.
void CloseFile(FileHandle file);

// True when the path names something that exists (file or folder).
bool PathExists(const char* path);

// True when the path names a regular file (after links) that this process may run.
bool IsExecutableFile(const char* path);

// Removes the name; a link is removed itself, never what it points at.
bool RemoveFile(const char* path);

// Replaces `to` by `from` in one step (both in the same folder).
bool RenameFile(const char* from, const char* to);

// Files named here are removed when the process ends through exit(), so a
// conversion cut short by a fatal error leaves no half-written output.
void RemoveFileAtExit(const std::string& path);
void KeepFileAtExit(const std::string& path);

}  // namespace Platform
