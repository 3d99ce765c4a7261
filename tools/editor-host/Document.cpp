#include "tools/editor-host/Document.h"

#include <cstring>

#include "image/ImageFiles.h"

namespace EditorHost {

using namespace PluginHost;

namespace {

constexpr int32_t kMostChannels = 24;

int32_t ModeOfImageFormat(int32_t format) {
    switch (format) {
        case ImageLib::L:
        case ImageLib::LA: return plugInModeGrayScale;
        case ImageLib::RGB:
        case ImageLib::RGBA: return plugInModeRGBColor;
        case ImageLib::Indexed: return plugInModeIndexedColor;
        default: return -1;
    }
}

// One channel of an interleaved buffer.
std::vector<uint8_t> ChannelOf(const uint8_t* pixels, int32_t count, int32_t stride, int32_t offset) {
    std::vector<uint8_t> channel(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) channel[i] = pixels[static_cast<size_t>(i) * stride + offset];
    return channel;
}

// The image's pixels in `format`, or an empty buffer when they cannot be had.
std::vector<uint8_t> PixelsAs(const ImageLib::CImage& image, int32_t format) {
    std::vector<uint8_t> pixels(static_cast<size_t>(ImageLib::GetImageByteSize(format, image.width, image.height)));
    if (pixels.empty() || !image.GetPixels(pixels.data(), static_cast<int32_t>(pixels.size()), format)) return {};
    return pixels;
}

}  // namespace

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

int32_t ColourChannelsOfMode(int32_t mode) {
    switch (mode) {
        case plugInModeGrayScale:
        case plugInModeIndexedColor: return 1;
        case plugInModeRGBColor: return 3;
        default: return 0;
    }
}

bool ShapeDocument(Document& document, int32_t mode, int32_t width, int32_t height, int32_t planes) {
    const int32_t colours = ColourChannelsOfMode(mode);
    if (colours == 0 || width < 1 || height < 1 || width > INT16_MAX || height > INT16_MAX || planes < colours ||
        planes > kMostChannels) {
        return false;
    }
    document.mode = static_cast<int16_t>(mode);
    document.width = width;
    document.height = height;
    document.alphaCount = planes - colours;
    document.channels.assign(static_cast<size_t>(planes), std::vector<uint8_t>(static_cast<size_t>(width) * height));
    return true;
}

bool LoadDocument(const std::string& path, const DocumentRequest& request, Document& document, std::string& error) {
    std::unique_ptr<ImageLib::CImage> image(ImageLib::CreateImageFromFile(path.c_str()));
    if (image == nullptr) {
        error = "cannot read " + path;
        return false;
    }
    const int32_t mode = request.mode >= 0 ? request.mode : ModeOfImageFormat(image->format);
    const bool fileHasAlpha = image->format == ImageLib::LA || image->format == ImageLib::RGBA;
    const int32_t alphaCount = request.alphaChannels >= 0 ? request.alphaChannels : (fileHasAlpha ? 1 : 0);
    if (mode == plugInModeIndexedColor && image->format != ImageLib::Indexed) {
        error = "the indexed mode needs an indexed file";
        return false;
    }
    const int32_t colours = ColourChannelsOfMode(mode);
    if (!ShapeDocument(document, mode, image->width, image->height, colours + alphaCount)) {
        error = "the document cannot be held in this mode";
        return false;
    }
    const int32_t count = image->width * image->height;
    const int32_t colourFormat = mode == plugInModeGrayScale ? ImageLib::L
                                 : mode == plugInModeRGBColor ? ImageLib::RGB
                                                              : ImageLib::Indexed;
    const std::vector<uint8_t> colourPixels = PixelsAs(*image, colourFormat);
    const std::vector<uint8_t> rgba = alphaCount > 0 ? PixelsAs(*image, ImageLib::RGBA) : std::vector<uint8_t>();
    if (colourPixels.empty() || (alphaCount > 0 && rgba.empty())) {
        error = "cannot convert " + path;
        return false;
    }
    for (int32_t c = 0; c < colours; ++c) document.channels[c] = ChannelOf(colourPixels.data(), count, colours, c);
    for (int32_t a = 0; a < alphaCount; ++a) {
        std::vector<uint8_t> alpha = ChannelOf(rgba.data(), count, 4, 3);
        if (a > 0) {
            for (uint8_t& value : alpha) value = static_cast<uint8_t>(255 - value);
        }
        document.channels[colours + a] = std::move(alpha);
    }
    if (mode == plugInModeIndexedColor) {
        document.lutCount = image->paletteCount;
        for (int32_t i = 0; i < image->paletteCount && i < kLookUpTableSize; ++i) {
            for (int32_t c = 0; c < 3; ++c) document.lut[c][i] = image->palette[3 * i + c];
        }
    }
    document.title = FileNameOf(path);
    return true;
}

std::unique_ptr<ImageLib::CImage> DocumentImage(const Document& document) {
    const int32_t colours = ColourChannelsOfMode(document.mode);
    const bool alpha = document.alphaCount > 0 && document.mode != plugInModeIndexedColor;
    int32_t format = ImageLib::None;
    if (document.mode == plugInModeGrayScale) format = alpha ? ImageLib::LA : ImageLib::L;
    if (document.mode == plugInModeRGBColor) format = alpha ? ImageLib::RGBA : ImageLib::RGB;
    if (document.mode == plugInModeIndexedColor) format = ImageLib::Indexed;
    const int32_t paletteEntries = format == ImageLib::Indexed ? document.lutCount : 0;
    auto image = std::make_unique<ImageLib::CImage>();
    if (format == ImageLib::None || !image->Create(format, document.width, document.height, paletteEntries, 0, 0, 0)) {
        return nullptr;
    }
    const int32_t stride = colours + (alpha ? 1 : 0);
    const size_t count = static_cast<size_t>(document.width) * document.height;
    for (int32_t c = 0; c < stride; ++c) {
        for (size_t i = 0; i < count; ++i) image->pixels[i * stride + c] = document.channels[c][i];
    }
    for (int32_t i = 0; i < paletteEntries; ++i) {
        for (int32_t c = 0; c < 3; ++c) image->palette[3 * i + c] = document.lut[c][i];
    }
    return image;
}

}  // namespace EditorHost
