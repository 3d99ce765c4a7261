#include "image/ImageFENK.h"

namespace ImageLib {

// The FENK codec has not landed yet: reading and writing fail cleanly.
bool CImageFENK::Read(Platform::FileHandle) { return false; }

bool CImageFENK::WriteImage(CImage&, Platform::FileHandle, const ImageOptions*) { return false; }

}  // namespace ImageLib
