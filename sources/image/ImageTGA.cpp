#include "image/ImageTGA.h"

namespace ImageLib {

// The TGA codec has not landed yet: reading and writing fail cleanly.
bool CImageTGA::Read(Platform::FileHandle) { return false; }

bool CImageTGA::WriteImage(CImage&, Platform::FileHandle, const ImageOptions*) { return false; }

}  // namespace ImageLib
