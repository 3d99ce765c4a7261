// Paths and the environment: separators, joining and %NAME% expansion.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

inline constexpr char kPathSeparator = '/';

// Joins a folder and a name with exactly one separator between them.
std::string JoinPath(std::string_view folder, std::string_view name);

// The folder part of a path ("." when it has none).
std::string FolderOf(std::string_view path);

// The value of an environment variable, or null when it is not set.
const char* GetEnvironmentValue(const char* name);

// Replaces every %NAME% by the variable's value; names that are not set, and a
// lone '%', stay as they are.
std::string ExpandEnvironmentNames(std::string_view text);

}  // namespace Platform
