#include "platform/FileRanges.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace Platform {
namespace {

// Linux moves at most this many bytes in one call.
constexpr int64_t kMaxChunk = 0x7ffff000;
constexpr int64_t kCopyBuffer = int64_t{1} << 20;

// The copy through a buffer, where the kernel cannot copy between the two files.
bool CopyThroughBuffer(FileHandle from, FileHandle to, int64_t offset, int64_t count) {
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kCopyBuffer)));
    while (offset < count) {
        int64_t read = 0;
        int64_t wanted = std::min(count - offset, kCopyBuffer);
        if (!ReadFromFileAt(from, offset, buffer.data(), wanted, read) || read != wanted) return false;
        if (!WriteToFileAt(to, offset, buffer.data(), wanted)) return false;
        offset += wanted;
    }
    return true;
}

}  // namespace

bool ReadFromFileAt(FileHandle file, int64_t offset, void* buffer, int64_t count, int64_t& done) {
    done = 0;
    if (!file.IsOpen()) return false;
    auto* bytes = static_cast<uint8_t*>(buffer);
    while (done < count) {
        ssize_t got = ::pread(file.Descriptor(), bytes + done, static_cast<size_t>(std::min(count - done, kMaxChunk)),
                              offset + done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        done += got;
    }
    return true;
}

bool WriteToFileAt(FileHandle file, int64_t offset, const void* data, int64_t count) {
    if (!file.IsOpen()) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    int64_t done = 0;
    while (done < count) {
        ssize_t put = ::pwrite(file.Descriptor(), bytes + done, static_cast<size_t>(std::min(count - done, kMaxChunk)),
                               offset + done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += put;
    }
    return true;
}

bool CopyFileStart(FileHandle from, FileHandle to, int64_t count) {
    if (!from.IsOpen() || !to.IsOpen()) return false;
    loff_t in = 0;
    loff_t out = 0;
    while (in < count) {
        ssize_t copied = ::copy_file_range(from.Descriptor(), &in, to.Descriptor(), &out,
                                           static_cast<size_t>(std::min<int64_t>(count - in, kMaxChunk)), 0);
        if (copied < 0 && errno == EINTR) continue;
        if (copied < 0) return in == 0 && CopyThroughBuffer(from, to, 0, count);
        if (copied == 0) return false;  // the source ended early
    }
    return true;
}

FileHandle LockFolder(const char* path) {
    if (path == nullptr) return FileHandle::Invalid();
    int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return FileHandle::Invalid();
    int locked = 0;
    while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        ::close(fd);
        return FileHandle::Invalid();
    }
    return FileHandle::FromDescriptor(fd);
}

}  // namespace Platform
