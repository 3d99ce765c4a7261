#include "image/FileHelpers.h"

#include <cstring>

#include "image/SizeMath.h"

namespace ImageLib {
namespace {

bool WriteAll(Platform::FileHandle file, const void* data, int64_t count) {
    if (file.IsNull()) return false;
    int64_t done = 0;
    Platform::WriteToFile(file, data, count, done);
    return done == count;
}

// Reads `size` bytes from the current position into a new buffer; a short read
// gives no buffer, so none of it is read unfilled.
ByteBuffer ReadFromHere(Platform::FileHandle file, int64_t size) {
    ByteBuffer buffer = AllocateBytes(size, BufferFill::Unfilled);
    if (!buffer) return nullptr;
    int64_t done = 0;
    if (!Platform::ReadFromFile(file, buffer.get(), size, done) || done != size) return nullptr;
    return buffer;
}

ByteBuffer ReadFrom(Platform::FileHandle file, int64_t start, int32_t& size) {
    size = 0;
    int64_t end = Platform::SeekFile(file, 0, Platform::SeekOrigin::End);
    if (start < 0 || end < start) return nullptr;
    int64_t length = end - start;
    size = length > kMaxByteCount ? 0 : static_cast<int32_t>(length);
    if (size < 1) return nullptr;
    if (Platform::SeekFile(file, start, Platform::SeekOrigin::Begin) != start) return nullptr;
    return ReadFromHere(file, size);
}

}  // namespace

Platform::FileHandle CreateFileForWrite(const char* path) {
    if (path == nullptr) return Platform::FileHandle();
    return Platform::CreateOrTruncateFile(path);
}

bool ReadExact(Platform::FileHandle file, void* buffer, int32_t count) {
    if (file.IsNull()) return false;
    int64_t done = 0;
    return Platform::ReadFromFile(file, buffer, count, done) && done == count;
}

ByteBuffer ReadWholeFile(Platform::FileHandle file, int32_t& size) {
    if (file.IsNull()) {
        size = 0;
        return nullptr;
    }
    return ReadFrom(file, 0, size);
}

ByteBuffer ReadRemaining(Platform::FileHandle file, int32_t& size) {
    size = 0;
    if (file.IsNull()) return nullptr;
    return ReadFrom(file, Platform::SeekFile(file, 0, Platform::SeekOrigin::Current), size);
}

int64_t GetRemainingSize(Platform::FileHandle file) {
    int64_t position = Platform::SeekFile(file, 0, Platform::SeekOrigin::Current);
    int64_t length = Platform::GetFileLength(file);
    return position < 0 || length < position ? 0 : length - position;
}

bool WriteU8(Platform::FileHandle file, uint32_t value) {
    uint8_t byte = static_cast<uint8_t>(value);
    return WriteAll(file, &byte, 1);
}

bool WriteU16(Platform::FileHandle file, uint32_t value) {
    uint8_t bytes[2] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)};
    return WriteAll(file, bytes, 2);
}

bool WriteU32(Platform::FileHandle file, uint32_t value) {
    uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                        static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    return WriteAll(file, bytes, 4);
}

bool WriteBytes(Platform::FileHandle file, const void* data, int32_t count) {
    if (data == nullptr || count < 1) return false;
    return WriteAll(file, data, count);
}

bool WriteString(Platform::FileHandle file, const char* text) {
    if (text == nullptr || text[0] == '\0') return false;
    return WriteAll(file, text, static_cast<int64_t>(std::strlen(text)));
}

}  // namespace ImageLib
