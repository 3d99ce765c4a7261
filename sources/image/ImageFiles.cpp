#include "image/ImageFiles.h"

#include <cctype>
#include <cstring>

#include "image/ImageFENK.h"
#include "image/ImageTGA.h"
#include "image/ImageVOQ.h"
#include "platform/ReplacementFiles.h"

namespace ImageLib {
namespace {

using WriterFunc = bool (*)(CImage& image, Platform::FileHandle file, const ImageOptions* options);

bool EndsWithExtension(const char* path, size_t length, const char* extension) {
    size_t n = std::strlen(extension);
    if (length < n + 1 || path[length - n - 1] != '.') return false;
    for (size_t i = 0; i < n; ++i) {
        if (std::toupper(static_cast<unsigned char>(path[length - n + i])) != extension[i]) return false;
    }
    return true;
}

WriterFunc WriterFor(FileType type) {
    switch (type) {
        case TGA: return &CImageTGA::WriteImage;
        case FENK: return &CImageFENK::WriteImage;
        case VOQ: return &CImageVOQ::WriteImage;
        default: return nullptr;
    }
}

}  // namespace

FileType GetFileType(const char* path) {
    if (path == nullptr) return Unknown;
    size_t length = std::strlen(path);
    // A three-letter extension is decided alone: when its dot is there, the
    // four-letter form is not tried.
    if (length >= 4 && path[length - 4] == '.') {
        if (EndsWithExtension(path, length, "TGA")) return TGA;
        if (EndsWithExtension(path, length, "VOQ")) return VOQ;
        return Unknown;
    }
    if (EndsWithExtension(path, length, "FENK")) return FENK;
    return Unknown;
}

CImage* CreateImageFromFile(const char* path) {
    CImage* image = nullptr;
    switch (GetFileType(path)) {
        case TGA: image = new CImageTGA; break;
        case FENK: image = new CImageFENK; break;
        case VOQ: image = new CImageVOQ; break;
        default: return nullptr;
    }
    if (!image->Load(path)) {
        delete image;
        return nullptr;
    }
    return image;
}

bool SaveImage(CImage* image, const char* path, const ImageOptions* options) {
    if (image == nullptr || path == nullptr) return false;
    WriterFunc writer = WriterFor(GetFileType(path));
    if (writer == nullptr) return false;

    // The output appears only when it is complete, so a failed or interrupted
    // save never destroys an existing file (the input, for one).
    Platform::ReplacementFile output(path);
    if (!output.File().IsOpen()) return false;
    return writer(*image, output.File(), options) && output.Commit();
}

}  // namespace ImageLib
