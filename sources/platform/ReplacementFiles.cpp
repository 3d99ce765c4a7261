#include "platform/ReplacementFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/Folders.h"
#include "platform/Paths.h"
#include "platform/SignalRemovals.h"

namespace Platform {
namespace {

// As many links as the system itself follows in one path.
constexpr int kMaxLinkHops = 40;
constexpr int kNameAttempts = 100;

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Where a chain of symbolic links at `path` ends: `path` itself when it is no
// link, a missing name when the last link dangles. Nothing when it never ends.
std::optional<std::string> FinalTarget(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        std::string link(PATH_MAX, '\0');
        ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
        if (length < 0 || static_cast<size_t>(length) >= link.size()) return std::nullopt;
        link.resize(static_cast<size_t>(length));
        path = link.front() == '/' ? link : FolderOf(path) + "/" + link;
    }
    return std::nullopt;
}

// The permission bits of an existing regular target; a missing one gives
// nothing. False when the target exists but is no regular file, or cannot be
// looked at.
bool ExistingMode(const std::string& target, std::optional<mode_t>& mode) {
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) return errno == ENOENT;
    if (!S_ISREG(info.st_mode)) return false;
    mode = info.st_mode & 0777;
    return true;
}

constexpr size_t kSuffixLength = 6;
constexpr std::string_view kSuffixLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool IsSuffixLetter(char c) { return kSuffixLetters.find(c) != std::string_view::npos; }

// Six letters or digits, for a name beside the target that nobody uses.
std::string RandomSuffix() {
    thread_local std::mt19937 random{std::random_device{}()};
    std::string suffix(kSuffixLength, 'x');
    for (char& c : suffix) c = kSuffixLetters[random() % kSuffixLetters.size()];
    return suffix;
}

}  // namespace

ReplacementFile::ReplacementFile(const char* path, TemporaryKind kind) {
    if (path == nullptr) return;
    std::optional<std::string> target = FinalTarget(path);
    std::optional<mode_t> mode;
    if (!target || !ExistingMode(*target, mode)) return;
    target_ = *target;

    int fd = -1;
    if (kind == TemporaryKind::Nameless) {
        fd = ::open(FolderOf(target_).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // A file system without nameless files says so in one of these ways.
        bool unsupported = fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL);
        if (fd < 0 && !unsupported) return;
    }
    if (fd < 0) {
        file_ = CreateUniqueFileBeside(target_, namedPath_);
        if (!file_.IsOpen()) return;
        RemoveFileOnSignal(namedPath_);
        RemoveFileAtExit(namedPath_);
    } else {
        file_ = FileHandle::FromDescriptor(fd);
    }
    if (mode && ::fchmod(file_.Descriptor(), *mode) != 0) Discard();
}

ReplacementFile::~ReplacementFile() { Discard(); }

bool ReplacementFile::LinkAndRename() {
    // A nameless file is named through its descriptor.
    std::string self = "/proc/self/fd/" + std::to_string(file_.Descriptor());
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = target_ + "." + RandomSuffix();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        // Between the two steps the file has a name of its own.
        RemoveFileOnSignal(name);
        bool renamed = RenameFile(name.c_str(), target_.c_str());
        if (!renamed) RemoveFile(name.c_str());
        KeepFileOnSignal(name);
        return renamed;
    }
    return false;
}

bool ReplacementFile::Commit() {
    if (!file_.IsOpen()) return false;
    bool placed = namedPath_.empty() ? LinkAndRename() : RenameFile(namedPath_.c_str(), target_.c_str());
    if (placed) {
        KeepFileOnSignal(namedPath_);
        KeepFileAtExit(namedPath_);
        namedPath_.clear();
    }
    Discard();
    return placed;
}

void ReplacementFile::Discard() {
    CloseFile(file_);
    file_ = FileHandle::Invalid();
    if (namedPath_.empty()) return;
    RemoveFile(namedPath_.c_str());
    KeepFileOnSignal(namedPath_);
    KeepFileAtExit(namedPath_);
    namedPath_.clear();
}

void RemoveLeftoverReplacements(const char* path) {
    std::optional<std::string> target = path ? FinalTarget(path) : std::nullopt;
    if (!target) return;
    const std::string folder = FolderOf(*target);
    const std::string prefix = target->substr(target->rfind('/') + 1) + ".";
    std::vector<std::string> names;
    if (!ListRegularFiles(folder.c_str(), names)) return;
    for (const std::string& name : names) {
        if (name.size() != prefix.size() + kSuffixLength || name.compare(0, prefix.size(), prefix) != 0) continue;
        if (!std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(), IsSuffixLetter)) continue;
        RemoveFile(JoinPath(folder, name).c_str());
    }
}

}  // namespace Platform
