#include "image/ImageVOQ.h"

namespace ImageLib {

// The VOQ codec has not landed yet: reading and writing fail cleanly.
bool CImageVOQ::Read(Platform::FileHandle) { return false; }

bool CImageVOQ::WriteImage(CImage&, Platform::FileHandle, const ImageOptions*) { return false; }

}  // namespace ImageLib
