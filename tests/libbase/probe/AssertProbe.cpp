// Runs one failing read check or exit of the base library, so the tests can see
// its console text and exit code from outside the process.
#include <cstdio>
#include <cstring>

#include "LibBase/Assert.h"
#include "LibBase/File.h"
#include "platform/Files.h"

int main(int argc, char** argv) {
    if (argc < 2) return 100;
    const char* mode = argv[1];
    const char* path = argc > 2 ? argv[2] : nullptr;
    char buffer[64] = {};
    if (std::strcmp(mode, "read-empty") == 0) {
        LibBase::CFileHandle(Platform::OpenFileForReading(path)).Read(buffer, 0);
    } else if (std::strcmp(mode, "read-short") == 0) {
        LibBase::CFileHandle(Platform::OpenFileForReading(path)).Read(buffer, 20);
    } else if (std::strcmp(mode, "read-failing") == 0) {
        LibBase::CFileHandle(Platform::CreateOrTruncateFile(path)).Read(buffer, 4);
    } else if (std::strcmp(mode, "fatal") == 0) {
        LibBase::FatalExit("stopped at %d", 42);
    } else if (std::strcmp(mode, "success") == 0) {
        LibBase::ExitWithPrompt(true);
    }
    return 100;
}
