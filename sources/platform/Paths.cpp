// Path joining and environment expansion on POSIX.
#include "platform/Paths.h"

#include <cstdlib>

namespace Platform {

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    while (!joined.empty() && joined.back() == kPathSeparator) joined.pop_back();
    while (!name.empty() && name.front() == kPathSeparator) name.remove_prefix(1);
    if (!folder.empty()) joined.push_back(kPathSeparator);
    joined.append(name);
    return joined;
}

std::string FolderOf(std::string_view path) {
    size_t slash = path.rfind(kPathSeparator);
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

const char* GetEnvironmentValue(const char* name) { return name == nullptr ? nullptr : std::getenv(name); }

std::string ExpandEnvironmentNames(std::string_view text) {
    std::string result;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find('%', pos);
        size_t close = open == std::string_view::npos ? open : text.find('%', open + 1);
        if (close == std::string_view::npos) break;
        result.append(text.substr(pos, open - pos));
        std::string name(text.substr(open + 1, close - open - 1));
        const char* value = name.empty() ? nullptr : GetEnvironmentValue(name.c_str());
        result.append(value != nullptr ? std::string_view(value) : text.substr(open, close - open + 1));
        pos = close + 1;
    }
    result.append(text.substr(pos));
    return result;
}

}  // namespace Platform
