#include "image/TgaTags.h"

#include <cstring>

#include "image/FileHelpers.h"
#include "image/SizeMath.h"
#include "image/TextureFormat.h"
#include "image/TgaRleEncoder.h"
#include "image/TgaWriter.h"

namespace ImageLib {
namespace {

constexpr int64_t kTagHeaderSize = 12;  // 8-character name and uint32 size

constexpr char kGeneratorName[] = "QX5T_Tga for PaintDesk 10.0.0";
constexpr char kGeneratorVersion[] = "1.0.0";
constexpr char kPshVersion[] = "1.0";

// Fixed-size psh tags: "psh_pver" with its 3 characters, "psh_gmip" and
// "psh_etco" with one byte, "psh_gray" empty.
constexpr int64_t kPverTagSize = kTagHeaderSize + sizeof(kPshVersion) - 1;
constexpr int64_t kByteTagSize = kTagHeaderSize + 1;
constexpr int64_t kEmptyTagSize = kTagHeaderSize;

bool WriteTagHeader(Platform::FileHandle file, const char* name, int64_t size) {
    return WriteBytes(file, name, 8) && WriteU32(file, static_cast<uint32_t>(size));
}

bool WriteTag(Platform::FileHandle file, const char* name, const void* payload, int32_t length) {
    return WriteTagHeader(file, name, kTagHeaderSize + length) && (length == 0 || WriteBytes(file, payload, length));
}

bool WriteTextTag(Platform::FileHandle file, const char* name, const char* text) {
    if (text == nullptr) return false;
    return WriteTag(file, name, text, static_cast<int32_t>(std::strlen(text)));
}

bool WriteByteTag(Platform::FileHandle file, const char* name, int32_t value) {
    uint8_t byte = static_cast<uint8_t>(value);
    return WriteTag(file, name, &byte, 1);
}

// The level count as its ASCII digit: at most 9 levels.
int32_t LevelDigit(const CImage& encoded) { return '0' + encoded.mipLevels; }

bool HasMipChain(const CImage& encoded) { return encoded.mipLevels > 1; }
bool IsGrey(const CImage& given) { return given.format == L || given.format == LA; }
bool IsIndexed(const CImage& given) { return given.format == Indexed; }

// The index plane, rows top-down, one byte per pixel.
bool WriteIndexPlaneTag(const CImage& given, Platform::FileHandle file) {
    int32_t size = GetRleSize(given);
    ByteBuffer encoded = AllocateBytes(size);
    if (!encoded) return false;
    EncodeRle(given.pixels.get(), encoded.get(), given.width, given.height, 1, false);
    return WriteTag(file, "psh_cidx", encoded.get(), size);
}

bool WritePaletteTags(const CImage& given, Platform::FileHandle file) {
    if (given.paletteCount < 0 || given.paletteCount > kMaxPaletteCount) return false;
    if (given.paletteCount > 0 && !given.palette) return false;
    return WriteTag(file, "psh_ctbl", given.palette.get(), given.paletteCount * 3) &&
           WriteIndexPlaneTag(given, file);
}

}  // namespace

int32_t GetPshTagSize(const CImage& encoded, const CImage& given, const ImageOptions& options) {
    int64_t size = kTagHeaderSize + kPverTagSize;
    if (HasMipChain(encoded)) size += kByteTagSize;
    if (IsETC1Format(options.format)) size += kByteTagSize;
    if (IsGrey(given)) size += kEmptyTagSize;
    if (IsIndexed(given)) {
        int32_t indexBytes = GetRleSize(given);
        if (indexBytes == 0) return 0;
        size += kTagHeaderSize + 3 * static_cast<int64_t>(given.paletteCount) + kTagHeaderSize + indexBytes;
    }
    return size > kMaxByteCount ? 0 : static_cast<int32_t>(size);
}

bool WritePshTag(const CImage& encoded, const CImage& given, Platform::FileHandle file, const ImageOptions& options) {
    int32_t size = GetPshTagSize(encoded, given, options);
    if (size == 0) return false;
    return WriteTagHeader(file, "qx5t_psh", size) &&
           WriteTextTag(file, "psh_pver", kPshVersion) &&
           (!HasMipChain(encoded) || WriteByteTag(file, "psh_gmip", LevelDigit(encoded))) &&
           (!IsETC1Format(options.format) || WriteByteTag(file, "psh_etco", options.etcQuality)) &&
           (!IsGrey(given) || WriteTag(file, "psh_gray", nullptr, 0)) &&
           (!IsIndexed(given) || WritePaletteTags(given, file));
}

bool WriteTags(const CImage& encoded, const CImage& given, Platform::FileHandle file, const ImageOptions* options,
               const uint8_t* textureData) {
    if (!IsTextureFormatRequested(options)) return true;
    if (file.IsNull() || textureData == nullptr) return false;
    int32_t dataSize = GetTextureDataSize(encoded.mipWidth[0], encoded.mipHeight[0], encoded.mipLevels, options->format);
    if (dataSize <= 0) return false;
    int32_t correction = options->colorCorrection;
    return WriteTextTag(file, "qx5t_tfm", GetTextureFormatName(options->format)) &&
           (!HasMipChain(encoded) || WriteByteTag(file, "qx5t_mps", LevelDigit(encoded))) &&
           WriteTag(file, "qx5t_txd", textureData, dataSize) &&
           WriteTextTag(file, "qx5t_gnm", kGeneratorName) && WriteTextTag(file, "qx5t_gvr", kGeneratorVersion) &&
           WritePshTag(encoded, given, file, *options) && WriteTag(file, "qx5t_end", nullptr, 0) &&
           // After the end tag: the correction's name.
           (correction == NONE || WriteTextTag(file, "jx5t_cct", GetColorCorrectionName(correction)));
}

}  // namespace ImageLib
