#include "plugin/HostPixelTransfer.h"

#include <algorithm>

namespace FormatPlugin {

using namespace PluginHost;

namespace {

constexpr int32_t kLargestSide = INT16_MAX;

// Describes the image's whole pixel buffer to the host as one rectangle with
// every plane interleaved.
void DescribeWholeImage(const ImageLib::CImage& image, FormatRecord& record) {
    const int32_t bytesPerPixel = ImageLib::GetBytesPerPixel(image.format);
    record.data = image.pixels.get();
    record.colBytes = static_cast<int16_t>(bytesPerPixel);
    record.rowBytes = image.width * bytesPerPixel;
    record.planeBytes = 1;
    record.loPlane = 0;
    record.hiPlane = static_cast<int16_t>(bytesPerPixel - 1);
    record.theRect = HostRect{0, 0, static_cast<int16_t>(image.height), static_cast<int16_t>(image.width)};
}

int16_t TransferWholeImage(const ImageLib::CImage& image, FormatRecord& record) {
    DescribeWholeImage(image, record);
    int16_t advanced = record.advanceState();
    record.data = nullptr;
    return advanced;
}

int32_t CountAlphaChannels(const FormatRecord& record) {
    if (record.documentInfo == nullptr) return 0;
    int32_t count = 0;
    for (const ReadChannelDesc* channel = record.documentInfo->alphaChannels; channel != nullptr;
         channel = channel->next) {
        ++count;
    }
    return count;
}

// The CImage layout of a document of the host: its format and, when its first
// alpha channel is taken, the plane that channel fills. Format None when the
// image model has no layout for it.
struct DocumentLayout {
    int32_t format = ImageLib::None;
    int32_t alphaPlane = -1;
};

DocumentLayout LayoutOfDocument(const FormatRecord& record, int32_t alphaCount) {
    switch (record.imageMode) {
        case plugInModeGrayScale:
            return alphaCount > 0 ? DocumentLayout{ImageLib::LA, 1} : DocumentLayout{ImageLib::L, -1};
        case plugInModeIndexedColor: return DocumentLayout{ImageLib::Indexed, -1};
        case plugInModeRGBColor:
            return alphaCount > 0 ? DocumentLayout{ImageLib::RGBA, 3} : DocumentLayout{ImageLib::RGB, -1};
        default: return DocumentLayout{};
    }
}

}  // namespace

int16_t ImageModeOfFormat(const ImageLib::CImage* image) {
    if (image == nullptr) return -1;
    switch (image->format) {
        case ImageLib::L:
        case ImageLib::LA: return plugInModeGrayScale;
        case ImageLib::RGB:
        case ImageLib::RGBA: return plugInModeRGBColor;
        case ImageLib::Indexed: return plugInModeIndexedColor;
        default: return -1;
    }
}

int16_t ReadHeaderFromFile(ImageLib::CImage* image, FormatRecord* record) {
    if (image == nullptr || record == nullptr) return formatBadParameters;
    if (!image->ReadHeader(record->dataFork)) return formatCannotRead;
    const int16_t mode = ImageModeOfFormat(image);
    if (mode < 0 || image->width > kLargestSide || image->height > kLargestSide) return formatCannotRead;

    record->imageMode = mode;
    record->imageSize = HostPoint{static_cast<int16_t>(image->height), static_cast<int16_t>(image->width)};
    record->depth = 8;
    record->planes = static_cast<int16_t>(ImageLib::GetBytesPerPixel(image->format));
    record->openedFileFlags = 0;
    record->openedFileHints = 0;
    const int32_t colours = std::clamp(image->paletteCount, 0, kLookUpTableSize);
    record->lutCount = static_cast<int16_t>(colours);
    if (image->palette != nullptr) {
        for (int32_t i = 0; i < colours; ++i) {
            record->redLUT[i] = image->palette[3 * i];
            record->greenLUT[i] = image->palette[3 * i + 1];
            record->blueLUT[i] = image->palette[3 * i + 2];
        }
    }
    return noErr;
}

int16_t ReadPixelsFromFile(ImageLib::CImage* image, FormatRecord* record) {
    if (image == nullptr || record == nullptr) return formatBadParameters;
    if (!image->Read(record->dataFork)) return formatCannotRead;
    // The host sized its document by what the header said; a file changed since
    // then would hand it a rectangle of another size.
    const bool unchanged = ImageModeOfFormat(image) == record->imageMode && image->width == record->imageSize.h &&
                           image->height == record->imageSize.v &&
                           ImageLib::GetBytesPerPixel(image->format) == record->planes;
    if (!unchanged || image->pixels == nullptr) return formatCannotRead;
    return TransferWholeImage(*image, *record);
}

int16_t ReadHostImage(ImageLib::CImage* image, FormatRecord* record) {
    if (image == nullptr || record == nullptr) return formatBadParameters;
    const int32_t alphaCount = CountAlphaChannels(*record);
    const DocumentLayout layout = LayoutOfDocument(*record, alphaCount);
    if (layout.format == ImageLib::None) return formatBadParameters;

    const int32_t width = record->imageSize.h;
    const int32_t height = record->imageSize.v;
    const int32_t paletteEntries = layout.format == ImageLib::Indexed ? record->lutCount : 0;
    const int32_t firstAlpha = record->planes - alphaCount;
    const int32_t colourPlanes = ImageLib::GetBytesPerPixel(layout.format) - (layout.alphaPlane >= 0 ? 1 : 0);
    const bool shapeTaken = width >= 1 && height >= 1 && paletteEntries <= ImageLib::kMaxPaletteCount &&
                            (layout.format != ImageLib::Indexed || paletteEntries >= 1) && firstAlpha >= colourPlanes;
    if (!shapeTaken) return formatBadParameters;
    if (!image->Create(layout.format, width, height, paletteEntries, 0, 0, 0)) return memFullErr;

    if (layout.alphaPlane >= 0) record->planeMap[layout.alphaPlane] = static_cast<int16_t>(firstAlpha);
    record->planes = static_cast<int16_t>(ImageLib::GetBytesPerPixel(layout.format));
    const int16_t advanced = TransferWholeImage(*image, *record);
    if (image->palette != nullptr) {
        for (int32_t i = 0; i < paletteEntries; ++i) {
            image->palette[3 * i] = record->redLUT[i];
            image->palette[3 * i + 1] = record->greenLUT[i];
            image->palette[3 * i + 2] = record->blueLUT[i];
        }
    }
    return advanced;
}

}  // namespace FormatPlugin
