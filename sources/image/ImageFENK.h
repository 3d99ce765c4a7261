// CImageFENK: the image class of "FENK" files.
#pragma once

#include "image/Image.h"

namespace ImageLib {

class CImageFENK : public CImage {
public:
    bool Read(Platform::FileHandle file) override;
    bool Load(const char* path) override { return LoadFromPath(path); }
    bool Write(Platform::FileHandle file, const ImageOptions* options) override { return WriteImage(*this, file, options); }
    bool Save(const char* path, const ImageOptions* options) override { return SaveToPath(path, options); }

    // The writer of this kind; it runs on any image, whatever its class.
    static bool WriteImage(CImage& image, Platform::FileHandle file, const ImageOptions* options);
};

}  // namespace ImageLib
