// The cache files: one per cached method, "cache_10_<method>" in the folder
// BRAMWELD/etcworks of the user's application data. A file is the whole table,
// 128,001,008 bytes; every failure is silent and leaves the run's result alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ETC1Encoder {

// The folder that holds the cache files, or nothing when there is no usable one.
// The application data folder is $APPDATA, else $XDG_DATA_HOME, else
// $HOME/.local/share (empty values count as unset); it must be an absolute path.
std::optional<std::string> ETC1CacheFolder();

// Reads the method's file into the table. Without a file the table keeps what
// it holds; a file shorter than the table empties it; a longer one is read up
// to the table's size.
void LoadETC1Cache(int32_t method);

// Writes the table as the method's file, creating the missing folders of its
// path for the user alone. The file is replaced in one step, so it is never seen half written;
// when it already holds exactly the table's bytes it is left alone.
void SaveETC1Cache(int32_t method);

}  // namespace ETC1Encoder
