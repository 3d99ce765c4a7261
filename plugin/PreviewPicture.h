// The preview picture: the decoded levels of a converted texture side by side,
// as the bytes of a 24-bit bottom-up bitmap (blue, green, red; rows padded to
// four bytes), white where no level is.
//
// Level i starts at the column where the levels before it end, and its rows
// fill the picture from the top, so the smaller levels stand top-aligned with
// white below them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "image/Image.h"
#include "image/ImageOptions.h"

namespace FormatPlugin {

// Which channels the preview shows: colour, alpha, or (both) colour tinted by alpha.
struct PreviewChannels {
    bool rgb = true;
    bool alpha = true;
};

// The number of levels shown: as many as the options give the document itself.
int32_t PreviewLevelCount(const ImageLib::CImage& document, const ImageLib::ImageOptions& options);
// The picture's width: the widths of the converted image's first `levels` levels
// (levels past the ninth add nothing).
int32_t PreviewPictureWidth(const ImageLib::CImage& converted, int32_t levels);
// Bytes from one row of the picture to the next: width x 3 rounded up to four; 0 beyond int32.
int32_t PreviewStride(int32_t width);

// Each puts one level of the converted image into the picture. `topLeft` is the
// level's top-left pixel in the picture and `rowStep` the distance in bytes from
// a row to the one below it (negative in a bottom-up picture). A level outside 0
// to 8, of no size, or whose pixels cannot be had leaves the picture as it was.
void CopyLevelRGB(const ImageLib::CImage* image, int32_t level, uint8_t* topLeft, ptrdiff_t rowStep);
void CopyLevelAlpha(const ImageLib::CImage* image, int32_t level, uint8_t* topLeft, ptrdiff_t rowStep);
// Colour tinted by alpha: opaque pixels keep their colour, transparent ones are
// halved and pushed halfway to red.
void CopyLevelTinted(const ImageLib::CImage* image, int32_t level, uint8_t* topLeft, ptrdiff_t rowStep);

// The bottom-up picture of width x height pixels holding the first `levels`
// levels in the chosen channels; empty when its size does not fit in memory.
std::vector<uint8_t> BuildPreviewPicture(const ImageLib::CImage& converted, int32_t width, int32_t height,
                                         int32_t levels, PreviewChannels channels);

}  // namespace FormatPlugin
