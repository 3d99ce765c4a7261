#include "image/TgaWriter.h"

#include "image/FileHelpers.h"
#include "image/TgaPixelOrder.h"
#include "image/TgaRleEncoder.h"

namespace ImageLib {
namespace {

constexpr int32_t kMaxTgaSide = 0xFFFF;
constexpr uint8_t kRleTypeBit = 8;
constexpr uint8_t kAlphaBitsDescriptor = 8;  // eight alpha bits, origin bottom left
constexpr uint8_t kPaletteEntryBits = 24;

// "QX5T_Tga Ver1.0" with its NUL, then the offset of the first tag.
constexpr char kImageIdText[] = "QX5T_Tga Ver1.0";
constexpr int32_t kImageIdSize = sizeof(kImageIdText) + 4;
constexpr int32_t kHeaderSize = 18;

// Extension area and developer directory offsets (both 0), then the signature with its NUL.
constexpr char kFooterSignature[] = "TRUEVISION-XFILE.";

bool IsRleRequested(const ImageOptions* options) { return options != nullptr && options->tgaCompression == 1; }

// The TGA image type of an image format, 0 for one that a TGA file cannot hold.
uint8_t ImageTypeOf(int32_t format) {
    switch (format) {
        case L: return 3;
        case RGB:
        case RGBA: return 2;
        case Indexed: return 1;
        default: return 0;
    }
}

int32_t ColorMapBytes(const CImage& image) { return image.format == Indexed ? image.paletteCount * 3 : 0; }

bool WriteImageId(const CImage& image, Platform::FileHandle file, const ImageOptions* options) {
    int32_t pixelBytes = GetTgaPixelDataSize(image, None, options);
    if (pixelBytes == 0) return false;
    int64_t firstTag = kHeaderSize + kImageIdSize + ColorMapBytes(image) + static_cast<int64_t>(pixelBytes);
    return WriteBytes(file, kImageIdText, sizeof(kImageIdText)) && WriteU32(file, static_cast<uint32_t>(firstTag));
}

// The palette's R, G, B entries stored B, G, R.
bool WriteColorMap(const CImage& image, Platform::FileHandle file) {
    if (image.paletteCount == 0) return true;
    if (!image.palette || image.paletteCount < 0 || image.paletteCount > kMaxPaletteCount) return false;
    uint8_t stored[kMaxPaletteCount * 3];
    for (int32_t i = 0; i < image.paletteCount; ++i) StoreTgaPixel(&image.palette[i * 3], &stored[i * 3], 3);
    return WriteBytes(file, stored, image.paletteCount * 3);
}

bool WriteHeaderFields(const CImage& image, Platform::FileHandle file, const ImageOptions* options) {
    bool indexed = image.format == Indexed;
    uint8_t idLength = IsTextureFormatRequested(options) ? kImageIdSize : 0;
    uint8_t imageType = ImageTypeOf(image.format) | (IsRleRequested(options) ? kRleTypeBit : 0);
    uint8_t pixelDepth = static_cast<uint8_t>(GetBytesPerPixel(image.format) * 8);
    uint8_t descriptor = image.format == RGBA ? kAlphaBitsDescriptor : 0;
    // The colour map's first entry and the x and y origin are 0.
    return WriteU8(file, idLength) && WriteU8(file, indexed ? 1 : 0) && WriteU8(file, imageType) &&
           WriteU16(file, 0) && WriteU16(file, indexed ? image.paletteCount : 0) &&
           WriteU8(file, indexed ? kPaletteEntryBits : 0) && WriteU16(file, 0) && WriteU16(file, 0) &&
           WriteU16(file, image.width) && WriteU16(file, image.height) && WriteU8(file, pixelDepth) &&
           WriteU8(file, descriptor);
}

// Rows from the bottom up, each pixel in TGA channel order.
void StoreRawRows(const uint8_t* source, uint8_t* destination, int32_t width, int32_t height, int32_t bytesPerPixel) {
    int64_t rowBytes = static_cast<int64_t>(width) * bytesPerPixel;
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* pixel = source + y * rowBytes;
        for (int32_t x = 0; x < width; ++x, pixel += bytesPerPixel) {
            destination = StoreTgaPixel(pixel, destination, bytesPerPixel);
        }
    }
}

}  // namespace

bool IsTextureFormatRequested(const ImageOptions* options) { return options != nullptr && options->format < INVALID; }

int32_t GetTgaPixelDataSize(const CImage& image, int32_t format, const ImageOptions* options) {
    if (IsRleRequested(options)) return GetRleSize(image);
    return GetImageByteSize(format == None ? image.format : format, image.width, image.height);
}

bool FitsTgaHeader(const CImage& image) { return image.width <= kMaxTgaSide && image.height <= kMaxTgaSide; }

bool WriteHeader(const CImage& image, Platform::FileHandle file, const ImageOptions* options) {
    if (file.IsNull() || ImageTypeOf(image.format) == 0 || !FitsTgaHeader(image)) return false;
    if (Platform::SeekFile(file, 0, Platform::SeekOrigin::Begin) != 0) return false;
    if (!WriteHeaderFields(image, file, options)) return false;
    if (IsTextureFormatRequested(options) && !WriteImageId(image, file, options)) return false;
    return image.format != Indexed || WriteColorMap(image, file);
}

bool WritePixels(const CImage& image, Platform::FileHandle file, const ImageOptions* options) {
    int32_t bytesPerPixel = GetBytesPerPixel(image.format);
    if (!image.pixels || ImageTypeOf(image.format) == 0) return false;
    int32_t size = GetTgaPixelDataSize(image, None, options);
    // Raw rows fill the buffer whole; the RLE size comes from a separate count,
    // so that buffer keeps its zeroing.
    const bool rle = IsRleRequested(options);
    ByteBuffer stored = AllocateBytes(size, rle ? BufferFill::Zeroed : BufferFill::Unfilled);
    if (!stored) return false;
    if (rle) {
        EncodeRle(image.pixels.get(), stored.get(), image.width, image.height, bytesPerPixel, true);
    } else {
        StoreRawRows(image.pixels.get(), stored.get(), image.width, image.height, bytesPerPixel);
    }
    return WriteBytes(file, stored.get(), size);
}

bool WriteFooter(Platform::FileHandle file, const ImageOptions* options) {
    if (IsTextureFormatRequested(options)) return true;
    return WriteU32(file, 0) && WriteU32(file, 0) && WriteBytes(file, kFooterSignature, sizeof(kFooterSignature));
}

}  // namespace ImageLib
