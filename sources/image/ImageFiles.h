// Image files by extension: the codec is chosen by the end of the path alone,
// never by sniffing the file's contents.
#pragma once

#include <cstdint>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace ImageLib {

enum FileType : int32_t {
    Unknown = 0,
    TGA = 1,   // ".tga"
    FENK = 2,  // ".fenk"
    VOQ = 3,   // ".voq"
};

// The kind of a path by its extension, without regard to letter case.
FileType GetFileType(const char* path);

// A new image of the kind's class loaded from the file, or null. The caller
// deletes it (through the virtual destructor).
CImage* CreateImageFromFile(const char* path);

// Writes the image with the writer of the path's kind, whatever the image's own
// class. The file at `path` is replaced only when the writer succeeded: on any
// failure, or when the run is killed, nothing is left behind and an existing
// file there is unchanged. A symbolic link at `path` is written through, and
// an existing file's permission bits stay.
bool SaveImage(CImage* image, const char* path, const ImageOptions* options);

}  // namespace ImageLib
