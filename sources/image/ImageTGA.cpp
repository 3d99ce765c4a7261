#include "image/ImageTGA.h"

namespace ImageLib {

// The TGA writer has not landed yet: writing fails cleanly.
bool CImageTGA::WriteImage(CImage&, Platform::FileHandle, const ImageOptions*) { return false; }

}  // namespace ImageLib
