// Small helpers over open file handles; the codecs read and write through them.
//
// None of them reports anything: each returns a success value and its caller
// decides what a failure means. A null handle is a missing one. Multi-byte
// values are little-endian.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "platform/Files.h"

namespace ImageLib {

// Creates the file, or empties it, for writing. Null path: a null handle;
// failure: an invalid handle.
Platform::FileHandle CreateFileForWrite(const char* path);

// True only when exactly `count` bytes were read.
bool ReadExact(Platform::FileHandle file, void* buffer, int32_t count);

// The whole file in a new buffer; `size` receives its length. Null for an empty
// file (position left at the end), a failed or short read, or a file over 2 GiB.
ByteBuffer ReadWholeFile(Platform::FileHandle file, int32_t& size);

// The bytes from the current position to the end, as ReadWholeFile does.
ByteBuffer ReadRemaining(Platform::FileHandle file, int32_t& size);

// How many bytes lie between the current position and the end; 0 when unknown.
// Readers check it before allocating for sizes that a file announces.
int64_t GetRemainingSize(Platform::FileHandle file);

bool WriteU8(Platform::FileHandle file, uint32_t value);
bool WriteU16(Platform::FileHandle file, uint32_t value);
bool WriteU32(Platform::FileHandle file, uint32_t value);
// False for null data or a count below 1.
bool WriteBytes(Platform::FileHandle file, const void* data, int32_t count);
// Writes the characters without the terminator; false for a null or empty string.
bool WriteString(Platform::FileHandle file, const char* text);

}  // namespace ImageLib
