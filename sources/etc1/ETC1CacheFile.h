// The cache files: one per cached method, "cache_10_<method>" in the folder
// BRAMWELD/etcworks of the user's application data. A file is the whole table,
// 128,001,008 bytes; no failure changes the run's result.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ETC1Encoder {

// The folder that holds the cache files, or nothing when there is no usable one.
// The application data folder is $APPDATA, else $XDG_DATA_HOME, else
// $HOME/.local/share (empty values count as unset); it must be an absolute path.
std::optional<std::string> ETC1CacheFolder();

// Fills the table from the method's file. Without a file (or with anything
// but a regular file at its path, never waited on) the table keeps what it
// holds; a file shorter than the table empties it; a longer one is used up to
// the table's size. The file is read as the table's pages are first used.
void LoadETC1Cache(int32_t method);

// Saves the table as the method's file, creating the missing folders of its
// path for the user alone. One save at a time holds the folder's lock and
// writes this run's stores onto the file as it is then, so that converters
// saving at once keep each other's entries; the new file has no name until it
// is complete and replaces the old one in one step, so a save killed at any
// moment leaves the old file or the whole new one and nothing else. When
// nothing was stored since the file was loaded or saved it is left alone.
// False when the save failed; the run's result stands either way.
bool SaveETC1Cache(int32_t method);

}  // namespace ETC1Encoder
