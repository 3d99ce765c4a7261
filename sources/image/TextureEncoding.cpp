#include "image/TextureEncoding.h"

#include "image/ColorCorrection.h"
#include "image/MipChain.h"
#include "image/SizeMath.h"
#include "image/TextureCodecs.h"
#include "image/TextureFormat.h"

namespace ImageLib {
namespace {

bool ConvertToRgb(const CImage& image, CImage& rgb) {
    return rgb.Create(RGB, image.width, image.height, 0, 0, 0, 0) &&
           image.GetPixels(rgb.pixels.get(), rgb.GetImageSize(None, nullptr), RGB);
}

void EncodeLevel(int32_t format, const uint8_t* source, uint8_t* destination, int32_t width, int32_t height,
                 int32_t quality, EtcEncoderFunc encoder) {
    if (format == ETC1) {
        EncodeLevelETC1(source, destination, width, height, quality, encoder);
    } else if (format == ETC1_A4) {
        EncodeLevelETC1A4(source, destination, width, height, quality, encoder);
    } else {
        GetLevelEncoder(format)(source, destination, width, height);
    }
}

}  // namespace

CImage& ImageToEncode(CImage& image, CImage& rgbCopy) {
    if (image.format != Indexed) return image;
    rgbCopy.CopyFrom(image, RGB);
    return rgbCopy;
}

ByteBuffer EncodeTexture(CImage* image, const ImageOptions* options) {
    if (image == nullptr || options == nullptr) return nullptr;
    CImage rgb;
    CImage corrected;
    CImage* working = image;
    if (image->format == Indexed) {
        if (!ConvertToRgb(*image, rgb)) return nullptr;
        working = &rgb;
    }
    if (options->colorCorrection != NONE) {
        if (!ApplyColorCorrection(working, &corrected, options)) return nullptr;
        working = &corrected;
    }
    if (!BuildMipChain(working, options)) return nullptr;
    // The writers read the level sizes from the image they were given.
    if (image->format != Indexed && working != image && !BuildMipChain(image, options)) return nullptr;
    return EncodeMipLevels(working, options->format, options->etcQuality, options->etcEncoder);
}

ByteBuffer EncodeMipLevels(const CImage* image, int32_t format, int32_t quality, EtcEncoderFunc encoder) {
    if (image == nullptr || !image->mipChain) return nullptr;
    const int32_t width0 = image->mipWidth[0];
    const int32_t height0 = image->mipHeight[0];
    const int32_t size = GetTextureDataSize(width0, height0, image->mipLevels, format);
    // Level 0 is the largest, so its RGBA pixels hold any level.
    const int32_t workSize = CheckedProduct(4, width0, height0);
    if (size <= 0 || workSize <= 0) return nullptr;
    // Zero-filled, so ETC1 levels without an encoder hold zeros.
    ByteBuffer data = AllocateBytes(size);
    // The encoders read RGBA: an RGBA chain's levels are read where they are,
    // any other is converted level by level into the front of `work`.
    const bool readInPlace = image->format == RGBA;
    ByteBuffer work = readInPlace ? nullptr : AllocateBytes(workSize, BufferFill::Unfilled);
    if (!data || (!readInPlace && !work)) return nullptr;

    uint8_t* position = data.get();
    const uint8_t* chainLevel = image->mipChain.get();
    for (int32_t i = 0; i < image->mipLevels; ++i) {
        const int32_t width = image->mipWidth[i];
        const int32_t height = image->mipHeight[i];
        const int32_t levelBytes = image->GetMipImageSize(i, None);
        if (levelBytes < 1) return nullptr;
        if (!readInPlace && !image->GetMipImage(work.get(), workSize, RGBA, i)) return nullptr;
        EncodeLevel(format, readInPlace ? chainLevel : work.get(), position, width, height, quality, encoder);
        position += GetTextureDataSize(width, height, 1, format);
        chainLevel += levelBytes;
    }
    return data;
}

}  // namespace ImageLib
