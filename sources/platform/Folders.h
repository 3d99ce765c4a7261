// Folder creation.
#pragma once

namespace Platform {

// Creates one folder, readable and writable by the user alone. False when it
// could not be created, also when it exists already.
bool CreateFolder(const char* path);

}  // namespace Platform
