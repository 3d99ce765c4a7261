#include "platform/Folders.h"

#include <sys/stat.h>

namespace Platform {

bool CreateFolder(const char* path) { return path != nullptr && ::mkdir(path, 0700) == 0; }

}  // namespace Platform
