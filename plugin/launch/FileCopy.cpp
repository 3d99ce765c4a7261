// Copying the converted file into the file the host has opened.
#include <algorithm>
#include <memory>
#include <new>

#include "plugin/launch/ConverterLaunch.h"

namespace PluginLaunch {
namespace {

// Bytes moved per read and write, so a large texture needs no buffer of its whole size.
constexpr int64_t kCopyChunk = int64_t{1} << 20;

}  // namespace

Platform::FileHandle OpenFileForRead(const char* path) {
    return path == nullptr ? Platform::FileHandle() : Platform::OpenFileForReading(path);
}

bool CopyFileToHandle(Platform::FileHandle source, Platform::FileHandle destination) {
    if (source.IsNull() || destination.IsNull()) return false;
    int64_t size = Platform::SeekFile(source, 0, Platform::SeekOrigin::End);
    if (size < 1) return false;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(std::min(size, kCopyChunk))]);
    if (buffer == nullptr || Platform::SeekFile(source, 0, Platform::SeekOrigin::Begin) != 0 ||
        Platform::SeekFile(destination, 0, Platform::SeekOrigin::Begin) != 0) {
        return false;
    }
    for (int64_t copied = 0; copied < size;) {
        int64_t chunk = std::min(size - copied, kCopyChunk);
        int64_t read = 0;
        int64_t written = 0;
        if (!Platform::ReadFromFile(source, buffer.get(), chunk, read) || read != chunk ||
            !Platform::WriteToFile(destination, buffer.get(), chunk, written)) {
            return false;
        }
        copied += chunk;
    }
    // A longer file that the host opened must not keep its old tail.
    return Platform::TruncateFile(destination, size);
}

}  // namespace PluginLaunch
