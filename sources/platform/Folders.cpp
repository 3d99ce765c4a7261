#include "platform/Folders.h"

#include <sys/stat.h>

#include <cerrno>
#include <string>

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

}  // namespace Platform
