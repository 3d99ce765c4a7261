// Folder creation.
#pragma once

namespace Platform {

// Creates every folder of `path` that does not exist yet, each for the user
// alone; folders that exist keep their modes. True when the path ends up
// naming a folder.
bool CreateFolderPath(const char* path);

}  // namespace Platform
