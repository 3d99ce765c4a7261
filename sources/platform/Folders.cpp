#include "platform/Folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>

#include "platform/Paths.h"

namespace Platform {
namespace {

constexpr mode_t kUserOnly = 0700;

bool IsFolder(const char* path) {
    struct stat info {};
    return ::stat(path, &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool CreateFolderPath(const char* path) {
    if (path == nullptr || path[0] == '\0') return false;
    std::string folder(path);
    for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
        std::string parent = folder.substr(0, slash);
        if (::mkdir(parent.c_str(), kUserOnly) != 0 && errno != EEXIST) return false;
    }
    if (::mkdir(folder.c_str(), kUserOnly) != 0 && errno != EEXIST) return false;
    return IsFolder(folder.c_str());
}

std::string GetTemporaryDirectory() {
    for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = GetEnvironmentValue(name);
        if (value != nullptr && value[0] != '\0') return value;
    }
    return "/tmp";
}

bool MakePrivateFolder(const char* path) {
    if (path == nullptr || path[0] == '\0') return false;
    if (::mkdir(path, kUserOnly) != 0 && errno != EEXIST) return false;
    struct stat info {};
    return ::lstat(path, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() &&
           (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

bool ListRegularFiles(const char* folder, std::vector<std::string>& names) {
    names.clear();
    DIR* listing = folder != nullptr ? ::opendir(folder) : nullptr;
    if (listing == nullptr) return false;
    while (const dirent* entry = ::readdir(listing)) {
        struct stat info {};
        if (::fstatat(::dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode)) {
            names.emplace_back(entry->d_name);
        }
    }
    ::closedir(listing);
    std::sort(names.begin(), names.end());
    return true;
}

bool RemoveEmptyFolder(const char* path) { return path != nullptr && ::rmdir(path) == 0; }

}  // namespace Platform
