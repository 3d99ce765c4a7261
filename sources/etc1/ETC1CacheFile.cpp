#include "etc1/ETC1CacheFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "etc1/ETC1Cache.h"
#include "platform/FileRanges.h"
#include "platform/FileStamps.h"
#include "platform/Files.h"
#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/ReplacementFiles.h"

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

// The whole table, as it stands in memory.
bool WriteWholeTable(Platform::FileHandle file) {
    ETC1CacheMemory::FillAll();
    int64_t written = 0;
    return Platform::WriteToFile(file, ETC1CacheMemory::Bytes(), kETC1CacheBytes, written);
}

// Empty entries over the whole file, without touching the table.
bool WriteEmptyTable(Platform::FileHandle file) {
    static constexpr int64_t kChunk = int64_t{1} << 20;
    const std::vector<uint8_t> empty(static_cast<size_t>(kChunk), 0xFF);
    for (int64_t offset = 0; offset < kETC1CacheBytes; offset += kChunk) {
        if (!Platform::WriteToFileAt(file, offset, empty.data(), std::min(kChunk, kETC1CacheBytes - offset))) return false;
    }
    return true;
}

// The file `base` (empty entries when it is not open) with the stores written
// over it, page by page.
bool WriteStoresOnto(Platform::FileHandle base, Platform::FileHandle file) {
    if (!(base.IsOpen() ? Platform::CopyFileStart(base, file, kETC1CacheBytes) : WriteEmptyTable(file))) return false;
    bool written = true;
    const uint8_t* table = ETC1CacheMemory::Bytes();
    ETC1CacheMemory::ForEachStoredPage([&](uint32_t page, const uint64_t (&bits)[4]) {
        const int64_t first = int64_t{page} * ETC1CacheMemory::kEntriesPerPage;
        const int64_t entries = std::min<int64_t>(ETC1CacheMemory::kEntriesPerPage, kETC1CacheEntryCount - first);
        uint8_t bytes[ETC1CacheMemory::kEntriesPerPage * sizeof(ETC1CacheEntry)];
        const int64_t length = entries * int64_t{sizeof(ETC1CacheEntry)};
        const int64_t offset = first * int64_t{sizeof(ETC1CacheEntry)};
        int64_t read = length;
        if (base.IsOpen()) written = written && Platform::ReadFromFileAt(base, offset, bytes, length, read);
        else std::memset(bytes, 0xFF, sizeof bytes);
        if (!written || read != length) {
            written = false;
            return;
        }
        for (int64_t entry = 0; entry < entries; ++entry) {
            if ((bits[entry / 64] >> (entry % 64) & 1) == 0) continue;
            std::memcpy(bytes + entry * 16, table + offset + entry * 16, 16);
        }
        written = Platform::WriteToFileAt(file, offset, bytes, length);
    });
    return written;
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
    if (!file.IsOpen()) return;
    Platform::FileStamp stamp;
    if (!Platform::GetFileStamp(file, stamp) || stamp.length < kETC1CacheBytes) {
        Platform::CloseFile(file);
        ETC1CacheMemory::Refill(Platform::FileHandle::Invalid(), -1);
        return;
    }
    // The table reads the file as its pages are used.
    ETC1CacheMemory::Refill(file, method);
    // A longer file is not the table's image: saving will cut it to size.
    if (stamp.length == kETC1CacheBytes) g_matchingFile = MatchingFile{method, stamp};
    else g_matchingFile.reset();
}

bool SaveETC1Cache(int32_t method) {
    std::optional<std::string> folder = ETC1CacheFolder();
    if (!folder) return true;
    if (!Platform::CreateFolderPath(folder->c_str())) return false;
    std::string path = Platform::JoinPath(*folder, CacheFileName(method));
    if (FileStillMatchesTable(method, path)) return true;

    // One save at a time in the folder, so that each applies its stores onto
    // the file that the one before it left.
    Platform::FileHandle lock = Platform::LockFolder(folder->c_str());
    if (!lock.IsOpen()) return false;
    // A save killed in the instant between naming its file and renaming it
    // left that name; with the lock held, no other save is in that instant.
    Platform::RemoveLeftoverReplacements(path.c_str());
    Platform::ReplacementFile replacement(path.c_str());
    Platform::FileHandle current = Platform::OpenFileForReading(path.c_str());
    Platform::FileStamp stamp;
    // The stores go onto the file as it is now. A table filled from another
    // method's file holds more than its stores; one filled from this method's
    // file, when no whole file is left to write onto, holds that file's entries
    // too; only an emptied table is its stores and nothing else.
    const int32_t filledFrom = ETC1CacheMemory::FileMethod();
    bool whole = current.IsOpen() && Platform::GetFileStamp(current, stamp) && stamp.length >= kETC1CacheBytes;
    if (!whole) Platform::CloseFile(std::exchange(current, Platform::FileHandle::Invalid()));
    bool onlyStores = (filledFrom == -1 || filledFrom == method) && (whole || filledFrom == -1);
    bool saved = replacement.File().IsOpen() &&
                 (onlyStores ? WriteStoresOnto(current, replacement.File()) : WriteWholeTable(replacement.File())) &&
                 Platform::GetFileStamp(replacement.File(), stamp) && replacement.Commit();
    Platform::CloseFile(current);
    Platform::CloseFile(lock);
    if (!saved) return false;
    ETC1CacheMemory::MarkSaved(method);
    g_matchingFile = MatchingFile{method, stamp};
    return true;
}

}  // namespace ETC1Encoder
