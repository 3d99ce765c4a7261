// Reading side of CImageVOQ: header checks and decoding of every level.
#include <cstring>

#include "image/FileHelpers.h"
#include "image/ImageVOQ.h"
#include "image/TextureCodecs.h"
#include "image/TextureFormat.h"

namespace ImageLib {
namespace {

constexpr int32_t kTileSide = 8;

uint16_t ReadU16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

VoqHeader UnpackHeader(const uint8_t* bytes) {
    VoqHeader header;
    std::memcpy(header.formatName, bytes, sizeof header.formatName);
    header.width = ReadU16(bytes + 8);
    header.height = ReadU16(bytes + 10);
    header.mipLevels = ReadU16(bytes + 12);
    header.reserved = ReadU16(bytes + 14);
    return header;
}

bool IsWholeTiles(int32_t side) { return side >= kTileSide && side % kTileSide == 0; }

// 1 to 9 levels, each a whole number of tiles, so the tile walk of the decoders
// never divides by a zero tile count nor reads past a level.
bool LevelsAreWholeTiles(const VoqHeader& header) {
    if (header.mipLevels < 1 || header.mipLevels > kMaxMipLevels) return false;
    for (int32_t i = 0; i < header.mipLevels; ++i) {
        if (!IsWholeTiles(header.width >> i) || !IsWholeTiles(header.height >> i)) return false;
    }
    return true;
}

int32_t DataSizeOf(const VoqHeader& header, int32_t textureFormat) {
    return GetTextureDataSize(header.width, header.height, header.mipLevels, textureFormat);
}

}  // namespace

bool CImageVOQ::Read(Platform::FileHandle file) { return ReadHeader(file) && ReadBody(file); }

bool CImageVOQ::ReadHeader(Platform::FileHandle file) {
    // A refused header leaves the image empty, so a later ReadBody fails.
    Clear();
    textureFormat = INVALID;
    uint8_t bytes[kVoqHeaderSize];
    if (!ReadExact(file, bytes, kVoqHeaderSize)) return false;
    header = UnpackHeader(bytes);
    // The name must end inside its 8 bytes to be one.
    if (std::memchr(header.formatName, 0, sizeof header.formatName) == nullptr) return false;
    textureFormat = FindTextureFormat(header.formatName);
    if (textureFormat == INVALID || !LevelsAreWholeTiles(header)) return false;
    // Every buffer the body needs must fit in int32 (computed in 64 bits).
    if (DataSizeOf(header, textureFormat) < 1) return false;
    if (!SetInfo(GetImageFormatOf(textureFormat), header.width, header.height, 0, header.mipLevels, header.width,
                 header.height)) {
        return false;
    }
    if (GetImageSize(None, nullptr) < 1 || GetMipImageSize(-1, None) < 1) {
        Clear();
        return false;
    }
    return true;
}

bool CImageVOQ::ReadBody(Platform::FileHandle file) {
    int32_t dataSize = DataSizeOf(header, textureFormat);
    // A file too short for its data is refused before anything is allocated for it.
    if (format == None || dataSize < 1 || GetRemainingSize(file) < dataSize) return false;
    if (!AllocatePixels() || !AllocateMipChain()) return false;
    // Read whole or dropped, so no byte of it is read unfilled.
    ByteBuffer data = AllocateBytes(dataSize, BufferFill::Unfilled);
    if (!data || !ReadExact(file, data.get(), dataSize)) return false;
    const uint8_t* source = data.get();
    uint8_t* level = mipChain.get();
    for (int32_t i = 0; i < mipLevels; ++i) {
        DecodeTexture(textureFormat, source, level, mipWidth[i], mipHeight[i]);
        source += GetTextureDataSize(mipWidth[i], mipHeight[i], 1, textureFormat);
        level += GetMipImageSize(i, None);
    }
    std::memcpy(pixels.get(), mipChain.get(), static_cast<size_t>(GetImageSize(None, nullptr)));
    return true;
}

}  // namespace ImageLib
