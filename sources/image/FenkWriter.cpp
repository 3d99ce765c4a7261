// The FENK writer: the file byte for byte, CR LF line ends, attribute values
// escaped so that any text round-trips and the file stays well-formed XML.
#include <algorithm>
#include <string>
#include <string_view>

#include "image/Base64.h"
#include "image/FileHelpers.h"
#include "image/ImageFENK.h"
#include "image/TextureEncoding.h"
#include "image/TextureFormat.h"
#include "platform/Clock.h"
#include "platform/TextEncoding.h"
#include "platform/User.h"

namespace ImageLib {
namespace {

// The five predefined entities, which the reader decodes.
std::string EscapeXmlAttribute(std::string_view value) {
    std::string escaped;
    escaped.reserve(value.size());
    for (char c : value) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            case '\'': escaped += "&apos;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

// A text in the locale's character set (null: empty) as a UTF-8 attribute value.
std::string AttributeText(const char* text) {
    return EscapeXmlAttribute(Platform::ConvertToUtf8(text != nullptr ? text : ""));
}

bool WriteXmlDeclaration(Platform::FileHandle file) {
    return WriteU8(file, 0xEF) && WriteU8(file, 0xBB) && WriteU8(file, 0xBF) &&
           WriteString(file, "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n");
}

bool WriteMetaData(Platform::FileHandle file, const char* source) {
    std::string create = "\t\t<Create Author=\"" + AttributeText(Platform::GetUserName().c_str()) + "\" Date=\"" +
                         Platform::FormatLocalDateTime() + "\" Source=\"" + AttributeText(source) + "\">\r\n";
    return WriteString(file, "\t<MetaData>\r\n") && WriteString(file, create.c_str()) &&
           WriteString(file, "\t\t\t<ToolDescriptions Name=\"BW_FENK for PaintDesk 10.0.0\" Version=\"1.0.0\" />\r\n") &&
           WriteString(file, "\t\t</Create>\r\n") && WriteString(file, "\t</MetaData>\r\n");
}

// Bytes encoded at a time: whole groups of 3, so the pieces join into the one
// text, and a level's text never sits in memory whole.
constexpr int32_t kBase64ChunkBytes = 3 * 4096;

bool WriteBase64(Platform::FileHandle file, const uint8_t* data, int32_t count) {
    char text[kBase64ChunkBytes / 3 * 4];
    for (int32_t done = 0; done < count; done += kBase64ChunkBytes) {
        const int32_t length = Base64Encode(text, data + done, std::min(kBase64ChunkBytes, count - done));
        if (!WriteBytes(file, text, length)) return false;
    }
    return true;
}

// One PixelBasedImageVoq line holding the Base64 text of `count` bytes.
bool WriteLevel(Platform::FileHandle file, const uint8_t* data, int32_t count) {
    if (Base64EncodedSize(count) < 1) return false;
    return WriteString(file, "\t\t\t\t\t<PixelBasedImageVoq>") && WriteBase64(file, data, count) &&
           WriteString(file, "</PixelBasedImageVoq>\r\n");
}

bool WriteGraphicsContent(Platform::FileHandle file, const CImage& encoded, const ImageOptions& options,
                          const uint8_t* textureData) {
    std::string texture = "\t\t\t<ImageTextureVoq Name=\"\" Width=\"" + std::to_string(encoded.mipWidth[0]) +
                          "\" Height=\"" + std::to_string(encoded.mipHeight[0]) + "\" MipmapSize=\"" +
                          std::to_string(encoded.mipLevels) + "\" Path=\"" + AttributeText(options.path) +
                          "\" Encoding=\"Base64\" Format=\"" + GetTextureFormatName(options.format) + "\"";
    // A correction without a name was applied as none, so it is not written either.
    const char* correction = options.colorCorrection != NONE ? GetColorCorrectionName(options.colorCorrection) : nullptr;
    if (correction != nullptr) texture += std::string(" ColorCorrection=\"") + correction + "\"";
    texture += ">\r\n";
    if (!WriteString(file, "\t<GraphicsContentVoq Namespace=\"\" Version=\"0.7.0\">\r\n") ||
        !WriteString(file, "\t\t<Textures>\r\n") || !WriteString(file, texture.c_str()) ||
        !WriteString(file, "\t\t\t\t<Images>\r\n")) {
        return false;
    }
    for (int32_t level = 0; level < encoded.mipLevels; ++level) {
        int32_t size = GetTextureDataSize(encoded.mipWidth[level], encoded.mipHeight[level], 1, options.format);
        if (!WriteLevel(file, textureData, size)) return false;
        textureData += size;
    }
    return WriteString(file, "\t\t\t\t</Images>\r\n") && WriteString(file, "\t\t\t</ImageTextureVoq>\r\n") &&
           WriteString(file, "\t\t</Textures>\r\n") && WriteString(file, "\t</GraphicsContentVoq>\r\n");
}

bool WriteRootElement(Platform::FileHandle file, const CImage& encoded, const ImageOptions& options,
                      const uint8_t* textureData) {
    return WriteString(file, "<HalvornIntermediateFile>\r\n") && WriteMetaData(file, options.source) &&
           WriteGraphicsContent(file, encoded, options, textureData) &&
           WriteString(file, "</HalvornIntermediateFile>\r\n");
}

}  // namespace

bool CImageFENK::WriteImage(CImage& image, Platform::FileHandle file, const ImageOptions* options) {
    // Without options there is no FENK output.
    if (file.IsNull() || options == nullptr) return false;
    CImage rgbCopy;
    CImage& encoded = ImageToEncode(image, rgbCopy);
    ByteBuffer textureData = EncodeTexture(&encoded, options);
    if (!textureData) return false;
    if (Platform::SeekFile(file, 0, Platform::SeekOrigin::Begin) != 0) return false;
    return WriteXmlDeclaration(file) && WriteRootElement(file, encoded, *options, textureData.get());
}

}  // namespace ImageLib
