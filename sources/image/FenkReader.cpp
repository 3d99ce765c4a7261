// The FENK reader. It finds the ImageTextureVoq start tag by its text, then
// walks the XML reader's nodes for the level elements. It refuses what it
// cannot decode exactly: sizes that are not whole 8x8 tiles at every level,
// missing or short levels, level texts longer than the room left for them, and
// level texts with characters outside Base64, so no undefined byte ever
// reaches the decoders.
#include <cstring>
#include <string_view>

#include "image/Base64.h"
#include "image/FileHelpers.h"
#include "image/ImageFENK.h"
#include "image/TextureCodecs.h"
#include "image/TextureFormat.h"
#include "image/XmlReader.h"

namespace ImageLib {
namespace {

constexpr std::string_view kTextureTag = "<ImageTextureVoq";
constexpr std::string_view kLevelName = "PixelBasedImageVoq";
constexpr int32_t kTileSide = 8;
// The texture data buffer's room past the last level.
constexpr int32_t kSpareBytes = 4;

// Every level, each half the one before, is a whole number of 8x8 tiles.
bool LevelsAreWholeTiles(int32_t width, int32_t height, int32_t levels) {
    for (int32_t level = 0; level < levels; ++level, width /= 2, height /= 2) {
        if (width < kTileSide || height < kTileSide || width % kTileSide != 0 || height % kTileSide != 0) return false;
    }
    return true;
}

// Calls `use(offset, levelSize, text)` for the text of each level
// element in order and stops at the first false. False when a level element is
// not followed directly by text, or when fewer elements than levels are found.
template <typename Use>
bool ForEachLevelText(XmlDocument& document, const CImageFENK& image, Use use) {
    int32_t level = 0;
    int32_t offset = 0;
    // The first node is the order mark or the declaration.
    for (const XmlNode* node = document.First() ? document.Next() : nullptr; node && level < image.mipLevels;
         node = document.Next()) {
        if (node->type != XmlNodeType::StartTag || node->text != kLevelName) continue;
        const XmlNode* text = document.Next();
        if (text == nullptr || text->type != XmlNodeType::Text) return false;
        // Each level is half the one before, as the mip chain will be.
        int32_t levelSize = GetTextureDataSize(image.width >> level, image.height >> level, 1, image.textureFormat);
        if (!use(offset, levelSize, text->text)) return false;
        offset += levelSize;
        ++level;
    }
    return level == image.mipLevels;
}

}  // namespace

bool CImageFENK::Read(Platform::FileHandle file) { return ReadHeader(file) && ReadBody(file); }

bool CImageFENK::ReadHeader(Platform::FileHandle file) {
    // A second read starts afresh: buffers of an earlier size are never reused.
    Clear();
    textureFormat = INVALID;
    int32_t size = 0;
    ByteBuffer bytes = ReadWholeFile(file, size);
    if (!bytes) return false;
    std::string_view text(reinterpret_cast<const char*>(bytes.get()), static_cast<size_t>(size));
    // The first three bytes are taken to be the order mark that the writer puts first.
    size_t start = size > 3 ? text.find(kTextureTag, 3) : std::string_view::npos;
    if (start == std::string_view::npos) return false;
    size_t end = text.find('>', start);
    if (end == std::string_view::npos) return false;

    // A syntax error inside the tag is not examined: the attributes read before it count.
    XmlNode tag;
    tag.ParseXmlNode(text.substr(start, end - start + 1), 0);
    if (tag.GetAttribute("Encoding") != "Base64") return false;
    width = ParseInt(tag.GetAttribute("Width"));
    height = ParseInt(tag.GetAttribute("Height"));
    mipLevels = ParseInt(tag.GetAttribute("MipmapSize"));
    textureFormat = FindTextureFormat(tag.GetAttribute("Format").c_str());
    if (width < 1 || height < 1 || mipLevels < 1) return false;
    format = GetImageFormatOf(textureFormat);
    return Platform::SeekFile(file, 0, Platform::SeekOrigin::Begin) == 0;
}

bool CImageFENK::ReadBody(Platform::FileHandle file) {
    if (!file.IsOpen()) return false;
    if (mipLevels < 1 || mipLevels > kMaxMipLevels || !LevelsAreWholeTiles(width, height, mipLevels)) return false;
    int32_t totalSize = GetTextureDataSize(width, height, mipLevels, textureFormat);
    if (totalSize < 1) return false;
    // After a syntax error the nodes before it are used.
    XmlDocument document;
    document.LoadXmlDocument(file);

    // The file must hold every level before the texture's buffers are
    // allocated: a small file cannot make the reader allocate a huge texture.
    // Each text may fill its level and the rest of the buffer, which has 4
    // bytes to spare, but must decode to at least its level.
    auto holdsItsLevel = [totalSize](int32_t offset, int32_t levelSize, std::string_view text) {
        return offset + int64_t{Base64DecodedSizeBound(text)} <= int64_t{totalSize} + kSpareBytes &&
               Base64DecodedCount(text) >= levelSize;
    };
    if (!ForEachLevelText(document, *this, holdsItsLevel)) return false;

    ByteBuffer textureData = AllocateBytes(int64_t{totalSize} + kSpareBytes);
    if (!textureData || !AllocatePixels() || !SetMipLevels(mipLevels, width, height)) return false;
    auto decode = [&textureData](int32_t offset, int32_t, std::string_view text) {
        return Base64Decode(textureData.get() + offset, text) >= 0;
    };
    if (!ForEachLevelText(document, *this, decode)) return false;

    DecodeLevels(textureData.get());
    std::memcpy(pixels.get(), mipChain.get(), static_cast<size_t>(GetImageByteSize(format, width, height)));
    return true;
}

void CImageFENK::DecodeLevels(const uint8_t* textureData) {
    uint8_t* destination = mipChain.get();
    for (int32_t level = 0; level < mipLevels; ++level) {
        DecodeTexture(textureFormat, textureData, destination, mipWidth[level], mipHeight[level]);
        textureData += GetTextureDataSize(mipWidth[level], mipHeight[level], 1, textureFormat);
        destination += GetMipImageSize(level, None);
    }
}

}  // namespace ImageLib
