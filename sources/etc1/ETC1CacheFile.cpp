#include "etc1/ETC1CacheFile.h"

#include <string_view>

#include "etc1/ETC1Cache.h"
#include "platform/FileStamps.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Paths.h"

namespace ETC1Encoder {
namespace {

constexpr std::string_view kCompanyFolder = "BRAMWELD";
constexpr std::string_view kCacheFolder = "etcworks";
// The folder, its closing separator and a terminator must leave room for a
// file name of 260 characters within 4096: folders this long or longer do not.
constexpr size_t kFolderLimit = 4096 - 2 - 260;

// The file that the table last matched byte for byte, as it was on disk then.
struct MatchingFile {
    int32_t method = -1;
    Platform::FileStamp stamp;
};
std::optional<MatchingFile> g_matchingFile;

const char* NonEmptyEnvironmentValue(const char* name) {
    const char* value = Platform::GetEnvironmentValue(name);
    return value != nullptr && value[0] != '\0' ? value : nullptr;
}

std::optional<std::string> ApplicationDataFolder() {
    if (const char* appData = NonEmptyEnvironmentValue("APPDATA")) return appData;
    if (const char* dataHome = NonEmptyEnvironmentValue("XDG_DATA_HOME")) return dataHome;
    if (const char* home = NonEmptyEnvironmentValue("HOME")) return Platform::JoinPath(home, ".local/share");
    return std::nullopt;
}

std::string CacheFileName(int32_t method) { return "cache_10_" + std::to_string(method); }

std::optional<std::string> CacheFilePath(int32_t method) {
    std::optional<std::string> folder = ETC1CacheFolder();
    if (!folder) return std::nullopt;
    return Platform::JoinPath(*folder, CacheFileName(method));
}

bool FileStillMatchesTable(int32_t method, const std::string& path) {
    Platform::FileStamp now;
    return g_matchingFile && g_matchingFile->method == method && !ETC1CacheMemory::ChangedSinceFile() &&
           Platform::GetFileStamp(path.c_str(), now) && now == g_matchingFile->stamp;
}

// Writes the table into a new file beside `path`; its name when complete.
std::optional<std::string> WriteTableBeside(const std::string& path, Platform::FileStamp& stamp) {
    std::string temporary;
    Platform::FileHandle file = Platform::CreateUniqueFileBeside(path, temporary);
    if (!file.IsOpen()) return std::nullopt;
    int64_t written = 0;
    bool complete = Platform::WriteToFile(file, ETC1CacheMemory::Bytes(), kETC1CacheBytes, written) &&
                    Platform::GetFileStamp(file, stamp);
    Platform::CloseFile(file);
    if (complete) return temporary;
    Platform::RemoveFile(temporary.c_str());
    return std::nullopt;
}

}  // namespace

std::optional<std::string> ETC1CacheFolder() {
    std::optional<std::string> base = ApplicationDataFolder();
    if (!base || base->front() != Platform::kPathSeparator) return std::nullopt;
    std::string folder = Platform::JoinPath(Platform::JoinPath(*base, kCompanyFolder), kCacheFolder);
    if (folder.size() >= kFolderLimit) return std::nullopt;
    return folder;
}

void LoadETC1Cache(int32_t method) {
    std::optional<std::string> path = CacheFilePath(method);
    Platform::FileHandle file = path ? Platform::OpenFileForReading(path->c_str()) : Platform::FileHandle::Invalid();
    if (!file.IsOpen()) {
        ETC1CacheMemory::FinishPendingEmpty();
        return;
    }
    Platform::FileStamp stamp;
    bool stamped = Platform::GetFileStamp(file, stamp);
    int64_t read = 0;
    bool whole = Platform::ReadFromFile(file, ETC1CacheMemory::Bytes(), kETC1CacheBytes, read) && read == kETC1CacheBytes;
    Platform::CloseFile(file);
    if (!whole) {
        ETC1CacheMemory::FillEmpty();
        return;
    }
    ETC1CacheMemory::MarkWhollyLoaded();
    // A longer file is not the table's image: saving will cut it to size.
    if (stamped && stamp.length == kETC1CacheBytes) g_matchingFile = MatchingFile{method, stamp};
    else g_matchingFile.reset();
}

void SaveETC1Cache(int32_t method) {
    std::optional<std::string> folder = ETC1CacheFolder();
    if (!folder) return;
    if (!Platform::CreateFolderPath(folder->c_str())) return;
    std::string path = Platform::JoinPath(*folder, CacheFileName(method));

    ETC1CacheMemory::FinishPendingEmpty();
    if (FileStillMatchesTable(method, path)) return;
    Platform::FileStamp stamp;
    std::optional<std::string> written = WriteTableBeside(path, stamp);
    if (!written) return;
    if (!Platform::RenameFile(written->c_str(), path.c_str())) {
        Platform::RemoveFile(written->c_str());
        return;
    }
    ETC1CacheMemory::MarkSaved();
    g_matchingFile = MatchingFile{method, stamp};
}

}  // namespace ETC1Encoder
