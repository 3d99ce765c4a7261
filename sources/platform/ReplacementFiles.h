// A new file written aside and put in the place of its target only when it is
// complete, so that a failed, killed or interrupted writer never leaves a
// half-written file behind nor destroys the one that was there.
//
// The file has no name while it is written (a nameless file in the target's
// folder), so even SIGKILL leaves nothing behind; committing gives it a
// temporary name and renames that over the target, and only a SIGKILL in that
// instant leaves the name (RemoveLeftoverReplacements takes it away). Where the file
// system has no nameless files, a named temporary file beside the target takes
// its place, removed on exit(), SIGINT and SIGTERM.
//
// A symbolic link at the path is written through: the file replaces the link's
// final target and the link stays. A hard link to the target keeps the old
// contents, as the new file is a new inode.
#pragma once

#include <string>

#include "platform/Files.h"

namespace Platform {

enum class TemporaryKind {
    Nameless,  // a nameless file, or a named one where the file system has none
    Named,     // always a named temporary file
};

class ReplacementFile {
public:
    // Opens the new file for writing. It gets the target's permission bits
    // when the target exists, else those of any new file. The file does not
    // open when the target's folder cannot take it, a chain of links does not
    // end, or the target exists but is not a regular file.
    explicit ReplacementFile(const char* path, TemporaryKind kind = TemporaryKind::Nameless);
    // Discards a file that was not committed.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    FileHandle File() const { return file_; }
    // Where the file goes: the final target of the path's links.
    const std::string& Target() const { return target_; }
    // The temporary file's name, for a named one; empty for a nameless one.
    const std::string& NamedPath() const { return namedPath_; }

    // Closes the file and puts it in the target's place. False when the file
    // is not open or cannot be placed; then nothing of it is left.
    bool Commit();

private:
    bool LinkAndRename();
    void Discard();

    FileHandle file_ = FileHandle::Invalid();
    std::string target_;
    std::string namedPath_;
};

// Removes the names that commits to `path` left when they were killed between
// naming the new file and renaming it over the target, the one moment in which
// a new file has a name of its own. Only for a caller that keeps every other
// writer of `path` out (a folder lock): another writer's name would go too.
void RemoveLeftoverReplacements(const char* path);

}  // namespace Platform
