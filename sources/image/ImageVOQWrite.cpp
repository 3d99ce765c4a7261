// Writing side of CImageVOQ: encode, then header and texture data.
#include <cstring>

#include "image/FileHelpers.h"
#include "image/ImageVOQ.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"

namespace ImageLib {
namespace {

constexpr int32_t kMaxStoredSide = 0xFFFF;

void PutU16(uint8_t* bytes, int32_t value) {
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
}

}  // namespace

bool CImageVOQ::WriteImage(CImage& image, Platform::FileHandle file, const ImageOptions* options) {
    if (options == nullptr || file.IsNull()) return false;
    CImage rgbCopy;
    CImage& encoded = ImageToEncode(image, rgbCopy);
    ByteBuffer data = EncodeTexture(&encoded, options);
    if (!data) return false;
    int32_t width = encoded.mipWidth[0];
    int32_t height = encoded.mipHeight[0];
    int32_t levels = encoded.mipLevels;
    // The header keeps 16-bit sides: a wider level 0 would be stored wrapped and
    // give an unreadable file, so nothing is written.
    if (width > kMaxStoredSide || height > kMaxStoredSide) return false;

    uint8_t header[kVoqHeaderSize] = {};
    const char* name = GetTextureFormatName(options->format);
    std::memcpy(header, name, std::strlen(name));
    PutU16(header + 8, width);
    PutU16(header + 10, height);
    PutU16(header + 12, levels);
    return WriteBytes(file, header, kVoqHeaderSize) &&
           WriteBytes(file, data.get(), GetTextureDataSize(width, height, levels, options->format));
}

}  // namespace ImageLib
