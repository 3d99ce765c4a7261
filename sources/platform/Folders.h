// Folder creation, private folders and folder listings.
#pragma once

#include <string>
#include <vector>

namespace Platform {

// Creates every folder of `path` that does not exist yet, each for the user
// alone; folders that exist keep their modes. True when the path ends up
// naming a folder.
bool CreateFolderPath(const char* path);

// The user's folder for temporary files: $XDG_RUNTIME_DIR, else $TMPDIR, else
// "/tmp" (a variable that is set but empty counts as not set).
std::string GetTemporaryDirectory();

// Creates the folder `path` with mode 0700 when it does not exist (its parent
// must), then accepts it only when it is a real folder, not a link, owned by
// this user, that gives nobody else any access. Then no other user can read
// what is written there, nor plant a file or link in it.
bool MakePrivateFolder(const char* path);

// The names of the regular files right in `folder`, sorted; links (whatever they
// point at), folders and other entries are left out. False when the folder
// cannot be read.
bool ListRegularFiles(const char* folder, std::vector<std::string>& names);

// Removes a folder that is empty; false when it is not, or cannot be removed.
bool RemoveEmptyFolder(const char* path);

}  // namespace Platform
