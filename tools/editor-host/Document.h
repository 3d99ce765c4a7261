// The host's document: channels kept apart, one byte per pixel each, as an
// image editor keeps them; colour channels first, then alpha channels.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/Image.h"
#include "plugin/host/FormatHost.h"

namespace EditorHost {

struct Document {
    int16_t mode = 0;  // PluginHost image mode
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 8;  // bits per channel
    std::vector<std::vector<uint8_t>> channels;
    int32_t alphaCount = 0;
    uint8_t lut[3][PluginHost::kLookUpTableSize] = {};
    int32_t lutCount = 0;
    std::string title;  // the file name shown for the document
};

// The file name of a path, as a document's title shows it.
std::string FileNameOf(const std::string& path);

// Colour channels of a mode: 3 for RGB colour, 1 for grayscale and indexed, 0 for any other.
int32_t ColourChannelsOfMode(int32_t mode);

// A document of `mode` and the given size with `planes` empty channels (those
// past the mode's colour channels are alpha channels); false when the host
// would not hold such a document.
bool ShapeDocument(Document& document, int32_t mode, int32_t width, int32_t height, int32_t planes);

// Which mode a document is read in and how many alpha channels it gets: a
// negative value means "by the file".
struct DocumentRequest {
    int32_t mode = -1;
    int32_t alphaChannels = -1;
};

// Reads any file that the image library reads as a document. The grayscale
// and RGB modes convert as the image library does; the indexed mode needs an
// indexed file. The first alpha channel holds the file's alpha (255 where it
// has none), each further one 255 minus the first. False with a reason in `error`.
bool LoadDocument(const std::string& path, const DocumentRequest& request, Document& document, std::string& error);

// The document as an image with its channels interleaved (the first alpha
// channel as the image's alpha) and its palette; null when the image model has no layout for it.
std::unique_ptr<ImageLib::CImage> DocumentImage(const Document& document);

}  // namespace EditorHost
