// The TGA writer: a plain TGA image, raw or RLE, and with a texture format also
// the encoded texture in developer tags after the pixel data.
#include "image/ImageTGA.h"
#include "image/TextureEncoding.h"
#include "image/TgaTags.h"
#include "image/TgaWriter.h"

namespace ImageLib {
namespace {

// The image whose pixels the file holds: the given one, or a conversion of it
// into `converted`. A TGA image here is L, RGB, RGBA or Indexed; with a texture
// format it is RGB or RGBA, the layouts that the texture is encoded from.
CImage& ChooseImageToWrite(CImage& image, const ImageOptions* options, CImage& converted) {
    int32_t format = image.format;
    int32_t target = format;
    if (IsTextureFormatRequested(options)) {
        if (format == L || format == Indexed) target = RGB;
        else if (format != RGB) target = RGBA;
    } else if (format == LA) {
        target = RGBA;
    }
    if (target == format) return image;
    converted.CopyFrom(image, target);
    return converted;
}

}  // namespace

int32_t CImageTGA::GetImageSize(int32_t imageFormat, const ImageOptions* options) const {
    return GetTgaPixelDataSize(*this, imageFormat, options);
}

bool CImageTGA::WriteImage(CImage& image, Platform::FileHandle file, const ImageOptions* options) {
    if (file.IsNull() || !FitsTgaHeader(image)) return false;
    CImage converted;
    CImage& written = ChooseImageToWrite(image, options, converted);
    // Encoded before anything is written: a format without texture data leaves the file untouched.
    ByteBuffer texture;
    if (IsTextureFormatRequested(options)) {
        texture = EncodeTexture(&written, options);
        if (!texture) return false;
    }
    return WriteHeader(written, file, options) && WritePixels(written, file, options) &&
           WriteTags(written, image, file, options, texture.get()) && WriteFooter(file, options);
}

}  // namespace ImageLib
