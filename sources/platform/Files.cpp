// POSIX implementation of the file operations.
#include "platform/Files.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {
namespace {

// Linux moves at most this many bytes in one read or write call.
constexpr int64_t kMaxChunk = 0x7ffff000;

FileHandle HandleFromOpen(int fd) {
    return fd < 0 ? FileHandle::Invalid() : FileHandle::FromDescriptor(fd);
}

struct ExitRemovals {
    std::mutex lock;
    std::set<std::string> paths;
};

ExitRemovals& PendingRemovals() {
    static ExitRemovals* removals = new ExitRemovals;  // outlives every atexit handler
    return *removals;
}

void RemovePendingFiles() {
    ExitRemovals& removals = PendingRemovals();
    std::lock_guard<std::mutex> guard(removals.lock);
    for (const std::string& path : removals.paths) ::unlink(path.c_str());
    removals.paths.clear();
}

}  // namespace

FileHandle OpenFileForReading(const char* path) {
    if (path == nullptr) return FileHandle::Invalid();
    // Without blocking, so a named pipe with no writer cannot hold the open;
    // it is refused below with everything else that is not a plain file.
    int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return FileHandle::Invalid();
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
        ::close(fd);
        return FileHandle::Invalid();
    }
    return FileHandle::FromDescriptor(fd);
}

FileHandle CreateOrTruncateFile(const char* path) {
    if (path == nullptr) return FileHandle::Invalid();
    return HandleFromOpen(::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

FileHandle CreateUniqueFileBeside(const std::string& path, std::string& createdPath) {
    std::string pattern = path + ".XXXXXX";
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return FileHandle::Invalid();
    // mkostemp makes the file private; give it the mode an ordinary new file gets.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    createdPath = pattern;
    return FileHandle::FromDescriptor(fd);
}

bool ReadFromFile(FileHandle file, void* buffer, int64_t count, int64_t& done) {
    done = 0;
    if (!file.IsOpen() || count < 0 || (buffer == nullptr && count > 0)) return false;
    auto* bytes = static_cast<char*>(buffer);
    while (done < count) {
        int64_t chunk = count - done < kMaxChunk ? count - done : kMaxChunk;
        ssize_t got = ::read(file.Descriptor(), bytes + done, static_cast<size_t>(chunk));
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) break;
        done += got;
    }
    return true;
}

bool WriteToFile(FileHandle file, const void* data, int64_t count, int64_t& done) {
    done = 0;
    if (!file.IsOpen() || count < 0 || (data == nullptr && count > 0)) return false;
    const auto* bytes = static_cast<const char*>(data);
    while (done < count) {
        int64_t chunk = count - done < kMaxChunk ? count - done : kMaxChunk;
        ssize_t put = ::write(file.Descriptor(), bytes + done, static_cast<size_t>(chunk));
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (put == 0) return false;
        done += put;
    }
    return true;
}

int64_t SeekFile(FileHandle file, int64_t offset, SeekOrigin origin) {
    if (!file.IsOpen()) return -1;
    int whence = origin == SeekOrigin::Begin ? SEEK_SET : origin == SeekOrigin::Current ? SEEK_CUR : SEEK_END;
    return ::lseek(file.Descriptor(), static_cast<off_t>(offset), whence);
}

int64_t GetFileLength(FileHandle file) {
    if (!file.IsOpen()) return -1;
    struct stat info {};
    if (::fstat(file.Descriptor(), &info) != 0) return -1;
    return info.st_size;
}

bool TruncateFile(FileHandle file, int64_t length) {
    return file.IsOpen() && length >= 0 && ::ftruncate(file.Descriptor(), static_cast<off_t>(length)) == 0;
}

void CloseFile(FileHandle file) {
    if (file.IsOpen()) ::close(file.Descriptor());
}

bool PathExists(const char* path) {
    struct stat info {};
    return path != nullptr && ::stat(path, &info) == 0;
}

bool IsExecutableFile(const char* path) {
    struct stat info {};
    return path != nullptr && ::stat(path, &info) == 0 && S_ISREG(info.st_mode) &&
           ::faccessat(AT_FDCWD, path, X_OK, AT_EACCESS) == 0;
}

bool RemoveFile(const char* path) { return path != nullptr && ::unlink(path) == 0; }

bool RenameFile(const char* from, const char* to) {
    return from != nullptr && to != nullptr && ::rename(from, to) == 0;
}

void RemoveFileAtExit(const std::string& path) {
    static const bool registered = std::atexit(RemovePendingFiles) == 0;
    (void)registered;
    ExitRemovals& removals = PendingRemovals();
    std::lock_guard<std::mutex> guard(removals.lock);
    removals.paths.insert(path);
}

void KeepFileAtExit(const std::string& path) {
    ExitRemovals& removals = PendingRemovals();
    std::lock_guard<std::mutex> guard(removals.lock);
    removals.paths.erase(path);
}

}  // namespace Platform
