// Files that must not outlive a run cut short by SIGINT or SIGTERM.
#pragma once

#include <string>

namespace Platform {

// The file named here is removed when SIGINT or SIGTERM arrives, and the
// process then ends with that signal as it would have without it. Where the
// program handles or ignores a signal itself, that stays as it is; the
// default actions come back when no file is named any more. False when the
// path is too long or too many files are named at once.
bool RemoveFileOnSignal(const std::string& path);

// Takes the name back: the file stays.
void KeepFileOnSignal(const std::string& path);

}  // namespace Platform
