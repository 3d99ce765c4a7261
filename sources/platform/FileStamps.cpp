#include "platform/FileStamps.h"

#include <sys/stat.h>

namespace Platform {
namespace {

FileStamp StampOf(const struct stat& info) {
    FileStamp stamp;
    stamp.device = static_cast<uint64_t>(info.st_dev);
    stamp.inode = static_cast<uint64_t>(info.st_ino);
    stamp.length = static_cast<int64_t>(info.st_size);
    stamp.modifiedNanoseconds = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return stamp;
}

}  // namespace

bool GetFileStamp(FileHandle file, FileStamp& stamp) {
    struct stat info {};
    if (!file.IsOpen() || ::fstat(file.Descriptor(), &info) != 0) return false;
    stamp = StampOf(info);
    return true;
}

bool GetFileStamp(const char* path, FileStamp& stamp) {
    struct stat info {};
    if (path == nullptr || ::stat(path, &info) != 0) return false;
    stamp = StampOf(info);
    return true;
}

}  // namespace Platform
